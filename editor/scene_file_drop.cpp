// Accepting a dropped scene file.
#include "editor/scene_file_drop.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace lumo {

std::optional<QString> DroppedSceneFile(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    const QFileInfo file(urls.front().toLocalFile());
    if (!file.isFile() || file.suffix().compare(QStringLiteral("lumo"), Qt::CaseInsensitive) != 0) return std::nullopt;
    return file.filePath();
}

} // namespace lumo
