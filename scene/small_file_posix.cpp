// Small regular files read whole on POSIX: opened without waiting on a FIFO, refused when they
// are anything but a regular file or larger than the limit.
#include "scene/scene_file.h"

#include "scene/file_names.h"
#include "scene/posix_reads.h"
#include "scene/safe_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

namespace posix {

int ReadUpTo(int fd, std::uint8_t* data, std::size_t size, std::size_t& filled)
{
    filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, data + filled, size - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    return 0;
}

int OpenRegular(const QByteArray& path, struct stat& info)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool FirstBytesAreJson(const QByteArray& path)
{
    struct stat info {};
    const int fd = OpenRegular(path, info);
    if (fd < 0) return false;
    char head[kJsonProbeSize];
    std::size_t filled = 0;
    const int error = ReadUpTo(fd, reinterpret_cast<std::uint8_t*>(head), sizeof head, filled);
    ::close(fd);
    return error == 0 && StartsAsJsonText(head, filled);
}

} // namespace posix

bool HoldsJsonText(const QString& path)
{
    return posix::FirstBytesAreJson(FileNameToBytes(path));
}

SmallFile ReadSmallFile(const QString& path, qint64 limit)
{
    SmallFile result;
    struct stat info {};
    const int fd = posix::OpenRegular(FileNameToBytes(path), info);
    if (fd < 0) {
        result.error = errno == EINVAL ? QStringLiteral("Not a regular file") : QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    if (info.st_size > limit) {
        ::close(fd);
        result.error = QStringLiteral("Larger than 1 MiB");
        return result;
    }
    // One byte past the limit tells a file that grew after its size was looked at.
    result.data.resize(static_cast<qsizetype>(limit + 1));
    std::size_t filled = 0;
    const int error = posix::ReadUpTo(fd, reinterpret_cast<std::uint8_t*>(result.data.data()),
                               static_cast<std::size_t>(result.data.size()), filled);
    ::close(fd);
    result.data.truncate(static_cast<qsizetype>(filled));
    if (error != 0) result.error = QString::fromLocal8Bit(std::strerror(error));
    else if (result.data.size() > limit) result.error = QStringLiteral("Larger than 1 MiB");
    if (!result.ok()) result.data.clear();
    return result;
}

} // namespace lumo
