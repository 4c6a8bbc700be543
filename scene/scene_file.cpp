// The scene file: the Scene Set's 3,536 bytes, read whole before anything changes and written
// through the platform's safe save (safe_file.h).
#include "scene/scene_file.h"

#include "scene/file_log.h"
#include "scene/file_names.h"
#include "scene/safe_file.h"

#include <QCoreApplication>

#include <array>

namespace lumo {

QString FileErrorText(const FileResult& result)
{
    switch (result.error) {
    case FileError::None: return QString();
    case FileError::FileNotFound: return QCoreApplication::translate("SceneFile", "File not found.");
    case FileError::InvalidFilename: return QCoreApplication::translate("SceneFile", "Invalid filename.");
    case FileError::TooManyOpenFiles: return QCoreApplication::translate("SceneFile", "Too many open files.");
    case FileError::AccessDenied: return QCoreApplication::translate("SceneFile", "File access denied.");
    case FileError::ReadBeyondEnd: return QCoreApplication::translate("SceneFile", "Read beyond end of file.");
    case FileError::DiskFull: return QCoreApplication::translate("SceneFile", "Disk full.");
    case FileError::Other: break;
    }
    return QCoreApplication::translate("SceneFile", "I/O error %1.").arg(result.systemError);
}

FileResult LoadSceneFile(const QString& path, SceneSet& scenes)
{
    if (path.isEmpty()) return {FileError::FileNotFound, 0};
    std::array<std::uint8_t, kSceneSetSize> bytes;
    const FileResult result = ReadFileStart(FileNameToBytes(path).toStdString(), bytes.data(), bytes.size());
    if (!result.ok()) {
        qCDebug(fileLog) << "open" << path << "failed:" << FileErrorText(result);
        return result;
    }
    scenes.fromBytes(bytes.data());
    qCDebug(fileLog) << "opened" << path;
    return {};
}

QString BackupPathOf(const QString& path)
{
    return FileNameFromBytes(QByteArray::fromStdString(BackupFileName(FileNameToBytes(path).toStdString())));
}

FileResult SaveSceneFile(const QString& path, const SceneSet& scenes)
{
    const auto sceneBytes = scenes.toBytes();
    return SaveFileData(path, QByteArray(reinterpret_cast<const char*>(sceneBytes.data()), static_cast<qsizetype>(sceneBytes.size())),
                        true);
}

FileResult SaveFileData(const QString& path, const QByteArray& data, bool keepBackup)
{
    if (path.isEmpty()) return {FileError::InvalidFilename, 0};
    const FileResult result = ReplaceFileSafely(FileNameToBytes(path).toStdString(), data.constData(),
                                                static_cast<std::size_t>(data.size()), keepBackup);
    if (result.ok())
        qCDebug(fileLog) << "saved" << data.size() << "bytes to" << path << (keepBackup ? "with backup" : "");
    else
        qCDebug(fileLog) << "save to" << path << "failed:" << FileErrorText(result);
    return result;
}

void IgnoreFileSizeSignal()
{
    IgnoreFileSizeLimitSignal();
}

} // namespace lumo
