// The scene file: the Scene Set's 3,536 bytes, read whole before anything changes and written
// through a temporary file so that a failing save never leaves a truncated scene file.
#include "scene/scene_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

namespace {

// errno -> the error numbers of the error box. ENOENT means "File not found" when the folder
// exists and "Invalid filename" when the folder itself is missing; a directory in place of
// the file is "File access denied"; ENOSPC and EDQUOT are the short write of "Disk full".
FileResult resultOfErrno(int error, const QString& path)
{
    switch (error) {
    case 0:
        return {FileError::None, 0};
    case ENOENT:
        if (!QFileInfo(path).absoluteDir().exists()) return {FileError::InvalidFilename, 0};
        return {FileError::FileNotFound, 0};
    case ENOTDIR:
    case ENAMETOOLONG:
        return {FileError::InvalidFilename, 0};
    case EMFILE:
    case ENFILE:
        return {FileError::TooManyOpenFiles, 0};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return {FileError::AccessDenied, 0};
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return {FileError::DiskFull, 0};
    default:
        return {FileError::Other, error};
    }
}

QByteArray encodedPath(const QString& path)
{
    return QFile::encodeName(path);
}

int closeFile(int fd)
{
    return ::close(fd) == 0 ? 0 : errno;
}

// A name that no other save in this process uses at the same time; O_EXCL guards against
// other processes.
QString temporaryPathFor(const QString& path, int attempt)
{
    static std::atomic<unsigned> counter{0};
    const QFileInfo info(path);
    return info.absoluteDir().filePath(QStringLiteral(".%1.%2-%3-%4.tmp")
                                           .arg(info.fileName())
                                           .arg(::getpid())
                                           .arg(counter.fetch_add(1))
                                           .arg(attempt));
}

// Writes all bytes; a write that stores nothing without an error is a full disk.
int writeAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

} // namespace

QString FileErrorText(const FileResult& result)
{
    switch (result.error) {
    case FileError::None: return QString();
    case FileError::FileNotFound: return QStringLiteral("File not found.");
    case FileError::InvalidFilename: return QStringLiteral("Invalid filename.");
    case FileError::TooManyOpenFiles: return QStringLiteral("Too many open files.");
    case FileError::AccessDenied: return QStringLiteral("File access denied.");
    case FileError::ReadBeyondEnd: return QStringLiteral("Read beyond end of file.");
    case FileError::DiskFull: return QStringLiteral("Disk full.");
    case FileError::Other: break;
    }
    return QStringLiteral("I/O error %1.").arg(result.systemError);
}

FileResult LoadSceneFile(const QString& path, SceneSet& scenes)
{
    if (path.isEmpty()) return {FileError::FileNotFound, 0};
    const int fd = ::open(encodedPath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return resultOfErrno(errno, path);

    std::array<std::uint8_t, kSceneSetSize> bytes;
    std::size_t filled = 0;
    int readError = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            readError = errno;
            break;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    const int closeError = closeFile(fd);
    if (readError != 0) return resultOfErrno(readError, path);
    if (filled < bytes.size()) return {FileError::ReadBeyondEnd, 0};
    if (closeError != 0) return resultOfErrno(closeError, path);

    scenes.fromBytes(bytes.data());
    return {};
}

QString BackupPathOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return folder + (dot < 0 ? name : name.left(dot)) + QStringLiteral(".BAK");
}

FileResult SaveSceneFile(const QString& path, const SceneSet& scenes)
{
    if (path.isEmpty()) return {FileError::InvalidFilename, 0};
    const QByteArray target = encodedPath(path);

    // Renaming over a file ignores that file's own permissions, so an existing file that
    // may not be written is refused here, as creating it in place would be.
    struct stat targetStat {};
    const bool targetExists = ::stat(target.constData(), &targetStat) == 0;
    if (targetExists) {
        if (S_ISDIR(targetStat.st_mode)) return {FileError::AccessDenied, 0};
        if (::access(target.constData(), W_OK) != 0) return resultOfErrno(errno, path);
    }

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = encodedPath(temporaryPathFor(path, attempt));
        // 0666 less the umask, as for any newly created file; an existing file's mode is kept.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return resultOfErrno(errno, path);
    }
    if (fd < 0) return resultOfErrno(EEXIST, path);

    const auto bytes = scenes.toBytes();
    int error = writeAll(fd, bytes.data(), bytes.size());
    // The replaced file's mode carries over; if that fails the new file keeps the default.
    if (error == 0 && targetExists)
        (void)::fchmod(fd, targetStat.st_mode & 07777);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    const int closeError = closeFile(fd);
    if (error == 0) error = closeError;
    if (error != 0) {
        ::unlink(temporary.constData());
        return resultOfErrno(error, path);
    }

    // The new data are safely on disk: only now does the old file become the backup,
    // replacing an older backup. A backup that cannot be made does not stop the save.
    const QByteArray backup = encodedPath(BackupPathOf(path));
    const bool backedUp = targetExists && backup != target
                          && ::rename(target.constData(), backup.constData()) == 0;
    if (::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
        ::unlink(temporary.constData());
        if (backedUp) ::rename(backup.constData(), target.constData());
        return resultOfErrno(error, path);
    }
    return {};
}

} // namespace lumo
