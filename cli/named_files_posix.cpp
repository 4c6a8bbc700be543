// The tool's own file names on POSIX: the bytes of an argument are the name, kept as given.
#include "cli/cli_common.h"

#include "scene/file_names.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo::cli {

QString OpenNamedFile(QFile& file, const QString& name, QIODevice::OpenMode mode)
{
    // O_NONBLOCK: a FIFO is refused before a reader or writer at its other end is waited for.
    const bool writing = mode.testFlag(QIODevice::WriteOnly);
    const int flags = writing ? O_WRONLY | O_CREAT : O_RDONLY;
    const int fd = ::open(FileNameToBytes(name).constData(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return QString::fromLocal8Bit(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return QStringLiteral("Not a regular file");
    }
    (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (writing && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        return QString::fromLocal8Bit(std::strerror(error));
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) return file.errorString();
    return QString();
}

void KeepStandardStreamsClosed()
{
    // A closed descriptor 0, 1 or 2 would be taken by the next file opened, and results
    // written into it; /dev/null opened for reading holds the place and fails every write.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int placeholder = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

bool IsNonRegularFile(const QString& name)
{
    struct stat info {};
    return ::stat(FileNameToBytes(name).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool IsSameFile(const QString& a, const QString& b)
{
    struct stat first {}, second {};
    return ::stat(FileNameToBytes(a).constData(), &first) == 0 && ::stat(FileNameToBytes(b).constData(), &second) == 0
           && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace lumo::cli
