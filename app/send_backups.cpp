// Naming, writing and pruning the send backups: the program records each backup it writes in
// an index in the folder and prunes only those.
#include "app/send_backups.h"

#include "app/backup_files.h"

#include "device/scene_image.h"
#include "scene/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

namespace lumo {
namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
// The backups this program wrote, in the order written: "<inode> <name>" lines. Only files
// recorded here are ever deleted, so a user's own file or link in the folder is never touched,
// however it is named or dated.
const QString kIndexName = QStringLiteral(".vorel-lumo-backups");

struct Entry {
    quint64 inode;
    QString name;
};

QString freeNameIn(const QDir& dir, const QDateTime& now)
{
    const QString stamp = now.toString(kStampFormat);
    QString name = stamp + QStringLiteral(".lumo");
    // The name itself: a dangling link of that name would take the save to wherever it points.
    for (int n = 2; NameExists(dir.filePath(name)); ++n)
        name = QStringLiteral("%1_%2.lumo").arg(stamp).arg(n);
    return name;
}

// The recorded backups that are still what was written: the same regular file, not a file
// or link put in its place since.
std::vector<Entry> recordedBackups(const QDir& dir)
{
    std::vector<Entry> entries;
    const SmallFile index = ReadSmallFile(dir.filePath(kIndexName));
    for (const QByteArray& line : SplitLines(index.data)) {
        const qsizetype space = line.indexOf(' ');
        bool numeric = false;
        const quint64 inode = line.left(space).toULongLong(&numeric);
        const QString name = QString::fromUtf8(line.mid(space + 1));
        if (space <= 0 || !numeric || name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.'))) continue;
        if (RegularFileIdentity(dir.filePath(name)) == inode) entries.push_back({inode, name});
    }
    return entries;
}

void writeIndex(const QDir& dir, const std::vector<Entry>& entries)
{
    QByteArray text;
    for (const Entry& entry : entries) text += QByteArray::number(entry.inode) + ' ' + entry.name.toUtf8() + '\n';
    (void)SaveFileData(dir.filePath(kIndexName), text, false);
}

} // namespace

QString SendBackupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/vorel-lumo/backups");
}

SceneSet ScenesFromImage(const ImageBuffer& image, const DefaultParameters& defaults)
{
    SceneSet scenes;
    ApplyDefaults(defaults, scenes);
    UnpackSceneImage(image.data(), scenes);
    return scenes;
}

QStringList SendBackupNames(const QString& folder)
{
    QStringList names;
    for (const Entry& entry : recordedBackups(QDir(folder))) names.append(entry.name);
    return names;
}

SendBackupResult StoreSendBackup(const SceneSet& scenes, const QString& folder, const QDateTime& now, int kept)
{
    // A folder that cannot be made shows as the save's own error on the path below.
    QDir().mkpath(folder);
    const QDir dir(folder);
    const QString written = freeNameIn(dir, now);
    SendBackupResult result{SaveSceneFile(dir.filePath(written), scenes), dir.filePath(written)};
    if (!result.ok())
        return result;

    // Age is the order of writing, not the name: a clock set wrong, or a file named in the
    // future, never makes the newest backups go first.
    std::vector<Entry> entries = recordedBackups(dir);
    const qsizetype excess = static_cast<qsizetype>(entries.size()) - std::max(kept - 1, 0);
    for (qsizetype i = 0; i < excess; ++i) {
        const Entry& old = entries[static_cast<std::size_t>(i)];
        const QString path = dir.filePath(old.name);
        if (RegularFileIdentity(path) == old.inode) RemoveName(path);
    }
    if (excess > 0) entries.erase(entries.begin(), entries.begin() + excess);
    if (const quint64 inode = RegularFileIdentity(result.path)) entries.push_back({inode, written});
    writeIndex(dir, entries);
    return result;
}

} // namespace lumo
