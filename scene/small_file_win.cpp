// Small regular files read whole on Windows, through Qt: anything but a regular file (a folder,
// a device, a pipe) is refused before it is opened.
#include "scene/scene_file.h"

#include "scene/safe_file.h"

#include <QFile>
#include <QFileInfo>

namespace lumo {

bool HoldsJsonText(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(static_cast<qint64>(kJsonProbeSize));
    return StartsAsJsonText(head.constData(), static_cast<std::size_t>(head.size()));
}

SmallFile ReadSmallFile(const QString& path, qint64 limit)
{
    SmallFile result;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        result.error = QStringLiteral("Not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    // One byte past the limit tells a file that grew after its size was looked at.
    result.data = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) result.error = file.errorString();
    else if (result.data.size() > limit) result.error = QStringLiteral("Larger than 1 MiB");
    if (!result.ok()) result.data.clear();
    return result;
}

} // namespace lumo
