// The start folder of the scene-file dialogs.
#include "editor/dialog_start_folder.h"

#include <QFileInfo>

namespace lumo {

QString DialogStartFolder(const DialogFolders& folders)
{
    const auto isFolder = [](const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); };
    if (isFolder(folders.lastThisRun)) return folders.lastThisRun;
    if (isFolder(folders.remembered)) return folders.remembered;
    if (isFolder(folders.current) && QFileInfo(folders.current).isWritable()) return folders.current;
    return folders.documents;
}

} // namespace lumo
