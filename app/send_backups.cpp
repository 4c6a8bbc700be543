// Naming, writing and pruning the send backups. The names sort by time as text; a second's
// further backups carry a number, compared as a number.
#include "app/send_backups.h"

#include "device/scene_image.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace lumo {
namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

// "2026-12-08_21-05-33.lumo" or "2026-12-08_21-05-33_2.lumo": the stamp and the number.
const QRegularExpression& backupName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(?:_(\\d{1,9}))?\\.lumo$"));
    return pattern;
}

bool isOlder(const QString& a, const QString& b)
{
    const QRegularExpressionMatch ma = backupName().match(a);
    const QRegularExpressionMatch mb = backupName().match(b);
    if (ma.captured(1) != mb.captured(1))
        return ma.captured(1) < mb.captured(1);
    return ma.captured(2).toInt() < mb.captured(2).toInt(); // no number counts as 0
}

QString freeNameIn(const QDir& dir, const QDateTime& now)
{
    const QString stamp = now.toString(kStampFormat);
    QString name = stamp + QStringLiteral(".lumo");
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n)
        name = QStringLiteral("%1_%2.lumo").arg(stamp).arg(n);
    return name;
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
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.removeIf([](const QString& name) { return !backupName().match(name).hasMatch(); });
    std::sort(names.begin(), names.end(), isOlder);
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

    // With a clock set back, the new backup may sort oldest; it is kept all the same.
    QStringList older = SendBackupNames(folder);
    older.removeOne(written);
    for (qsizetype i = 0; i < older.size() - std::max(kept - 1, 0); ++i)
        QFile::remove(dir.filePath(older[i]));
    return result;
}

} // namespace lumo
