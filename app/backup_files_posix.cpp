// The send backups' file operations on POSIX: lstat, so that a link is never taken for a backup.
#include "app/backup_files.h"

#include "scene/file_names.h"

#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

quint64 RegularFileIdentity(const QString& path)
{
    struct stat info {};
    if (::lstat(FileNameToBytes(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<quint64>(info.st_ino);
}

bool NameExists(const QString& path)
{
    struct stat info {};
    return ::lstat(FileNameToBytes(path).constData(), &info) == 0;
}

void RemoveName(const QString& path)
{
    ::unlink(FileNameToBytes(path).constData());
}

} // namespace lumo
