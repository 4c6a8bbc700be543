// The tool's own file names on POSIX: the bytes of an argument are the name, kept as given.
#include "cli/cli_common.h"

#include "scene/file_names.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace lumo::cli {

QString OpenNamedFile(QFile& file, const QString& name, QIODevice::OpenMode mode)
{
    const int flags = mode.testFlag(QIODevice::WriteOnly) ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY;
    const int fd = ::open(FileNameToBytes(name).constData(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return QString::fromLocal8Bit(std::strerror(errno));
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) return file.errorString();
    return QString();
}

bool IsSameFile(const QString& a, const QString& b)
{
    struct stat first {}, second {};
    return ::stat(FileNameToBytes(a).constData(), &first) == 0 && ::stat(FileNameToBytes(b).constData(), &second) == 0
           && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace lumo::cli
