// The recent-files list in the window's settings file.
#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace lumo {

namespace {
const QString kKey = QStringLiteral("File/Recent");

QSettings settings()
{
    return QSettings(QStringLiteral("vorel-lumo"), QStringLiteral("vorel-lumo"));
}

void store(const QStringList& files)
{
    if (files.isEmpty())
        settings().remove(kKey);
    else
        settings().setValue(kKey, files);
}
} // namespace

QStringList RecentFiles::files()
{
    return settings().value(kKey).toStringList();
}

void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxFiles));
}

void RecentFiles::clear()
{
    store({});
}

QStringList RecentFiles::existingFiles()
{
    const QStringList list = files();
    QStringList existing;
    for (const QString& file : list)
        if (QFileInfo(file).isFile()) existing << file;
    if (existing != list) store(existing);
    return existing;
}

} // namespace lumo
