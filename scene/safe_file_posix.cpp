// The file operations of the scene file on POSIX systems: a save through a temporary file
// beside the real file, so that a failing or killed save never leaves a truncated scene file
// and the file's name always exists.
#include "scene/safe_file.h"

#include "scene/posix_reads.h"

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <csignal>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

namespace {

// Symbolic links followed before the kernel would give up with ELOOP.
constexpr int kMaxLinkHops = 40;

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray nameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool isFolder(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// errno -> the error numbers of the error box. ENOENT means "File not found" when the folder
// exists and "Invalid filename" when the folder itself is missing; a directory in place of
// the file is "File access denied"; ENOSPC and EDQUOT are the short write of "Disk full".
FileResult resultOfErrno(int error, const QByteArray& path)
{
    switch (error) {
    case 0:
        return {FileError::None, 0};
    case ENOENT:
        if (!isFolder(folderOf(path))) return {FileError::InvalidFilename, 0};
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

constexpr FileResult kNotARegularFile{FileError::AccessDenied, 0};

int closeFile(int fd)
{
    return ::close(fd) == 0 ? 0 : errno;
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

QByteArray backupPathOf(const QByteArray& path)
{
    if (posix::FirstBytesAreJson(path)) return path + ".bak";
    const qsizetype slash = path.lastIndexOf('/');
    const qsizetype dot = path.lastIndexOf('.');
    return (dot > slash ? path.left(dot) : path) + QByteArrayLiteral(".BAK");
}

// The file that a path names once its symbolic links are followed. A dangling link gives the
// file that the save creates; the link itself stays as it is.
QByteArray resolveLinks(QByteArray path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length <= 0) return path;
        const QByteArray link(target, length);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    return path;
}

// Temporary files are named ".lumo-<hash of the file's name>-<process id>-<random>": short,
// so that every name the file system takes can be saved, and telling which file and which
// process they belong to, so that the next save of the same file removes what a killed save
// left behind.
QByteArray temporaryPrefixOf(const QByteArray& path)
{
    std::uint32_t hash = 2166136261u; // FNV-1a: the same on every run, unlike qHash
    for (const char c : nameOf(path)) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return folderOf(path) + "/.lumo-" + QByteArray::number(hash, 16) + '-';
}

void removeStaleTemporaries(const QByteArray& prefix)
{
    const QByteArray folder = folderOf(prefix);
    const QByteArray namePrefix = nameOf(prefix);
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(namePrefix)) continue;
        const QByteArray owner = name.mid(namePrefix.size()).split('-').constFirst();
        bool numeric = false;
        const pid_t pid = static_cast<pid_t>(owner.toLong(&numeric));
        // Another save of this file may be running in another process: its files stay.
        const bool ownerGone = numeric && (pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH));
        if (ownerGone) ::unlinkat(::dirfd(dir), name.constData(), 0);
    }
    ::closedir(dir);
}

// Makes a new file of a fresh temporary name with `make` (which returns 0 or an errno and
// sets `fd` when it opens one); EEXIST tries the next name.
template<typename Make>
int makeTemporary(const QByteArray& prefix, QByteArray& name, Make&& make)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        name = prefix + QByteArray::number(::getpid()) + '-'
               + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        error = make(name);
    }
    return error;
}

// Created 0600 so the data are never more readable than the file they replace will be.
int createTemporary(const QByteArray& prefix, QByteArray& name, int& fd)
{
    return makeTemporary(prefix, name, [&fd](const QByteArray& candidate) {
        fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        return fd < 0 ? errno : 0;
    });
}

mode_t newFileMode()
{
    // umask can only be read by setting it; it is put back at once.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// The owner and group of the replaced file where this user may give them (the group alone
// when only that is allowed), then its mode; after chown, since chown clears set-id bits.
void carryOverOwnerAndMode(int fd, const struct stat* replaced)
{
    if (!replaced) {
        (void)::fchmod(fd, newFileMode());
        return;
    }
    // (An if, not a cast to void: fortified glibc marks fchown warn_unused_result.)
    if (::fchown(fd, replaced->st_uid, replaced->st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), replaced->st_gid) != 0) {
    }
    (void)::fchmod(fd, replaced->st_mode & 07777);
}

// Overwrites the regular file open on `fd` with `data` and flushes it to the disk.
int overwrite(int fd, const QByteArray& data)
{
    if (::lseek(fd, 0, SEEK_SET) != 0) return errno;
    int error = writeAll(fd, reinterpret_cast<const std::uint8_t*>(data.constData()),
                         static_cast<std::size_t>(data.size()));
    if (error == 0 && ::ftruncate(fd, data.size()) != 0) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    return error;
}

QByteArray contentsOf(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    QByteArray contents;
    char chunk[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0) contents.append(chunk, got);
    ::close(fd);
    return contents;
}

// A second name for the old file, made without touching it: a hard link, or a copy on file
// systems without links. Best effort: false when neither is possible.
bool makeBackupCandidate(const QByteArray& target, const struct stat& info, const QByteArray& prefix,
                         QByteArray& candidate)
{
    const int linked = makeTemporary(prefix, candidate, [&target](const QByteArray& name) {
        return ::link(target.constData(), name.constData()) == 0 ? 0 : errno;
    });
    if (linked == 0) return true;
    int fd = -1;
    if (createTemporary(prefix, candidate, fd) != 0) return false;
    carryOverOwnerAndMode(fd, &info);
    const int error = overwrite(fd, contentsOf(target));
    if (closeFile(fd) != 0 || error != 0) {
        ::unlink(candidate.constData());
        return false;
    }
    return true;
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// For a writable file in a folder that takes no new files: the backup goes into an existing
// backup file that may be written, then the file itself is overwritten with the whole image.
FileResult saveInPlace(const QByteArray& target, const QByteArray& data, bool keepBackup)
{
    const QByteArray backup = backupPathOf(target);
    const int backupFd = keepBackup ? ::open(backup.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW) : -1;
    if (backupFd >= 0) {
        struct stat info {};
        if (::fstat(backupFd, &info) == 0 && S_ISREG(info.st_mode)) (void)overwrite(backupFd, contentsOf(target));
        ::close(backupFd);
    }
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return resultOfErrno(errno, target);
    struct stat info {};
    int error = ::fstat(fd, &info) != 0 ? errno : 0;
    if (error == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        return kNotARegularFile;
    }
    if (error == 0) error = overwrite(fd, data);
    const int closeError = closeFile(fd);
    return resultOfErrno(error != 0 ? error : closeError, target);
}

} // namespace

FileResult ReadFileStart(const std::string& path, std::uint8_t* data, std::size_t size)
{
    const QByteArray source = QByteArray::fromStdString(path);
    // O_NONBLOCK: opening a FIFO must not wait for a writer before its type can be checked.
    const int fd = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return resultOfErrno(errno, source);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return kNotARegularFile;
    }

    std::size_t filled = 0;
    const int readError = posix::ReadUpTo(fd, data, size, filled);
    const int closeError = closeFile(fd);
    if (readError != 0) return resultOfErrno(readError, source);
    if (filled < size) return {FileError::ReadBeyondEnd, 0};
    if (closeError != 0) return resultOfErrno(closeError, source);
    return {};
}

std::string BackupFileName(const std::string& path)
{
    return backupPathOf(QByteArray::fromStdString(path)).toStdString();
}

FileResult ReplaceFileSafely(const std::string& path, const char* bytes, std::size_t size, bool keepBackup)
{
    const QByteArray data(bytes, static_cast<qsizetype>(size));
    const QByteArray target = resolveLinks(QByteArray::fromStdString(path));

    // Only a regular file is replaced: a folder, FIFO or device is refused before anything is
    // made or moved. Renaming over a file ignores that file's own permissions, so an existing
    // file that may not be written is refused here, as writing it in place would be.
    struct stat info {};
    const bool exists = ::stat(target.constData(), &info) == 0;
    if (!exists && errno != ENOENT) return resultOfErrno(errno, target);
    if (exists && !S_ISREG(info.st_mode)) return kNotARegularFile;
    if (exists && ::access(target.constData(), W_OK) != 0) return resultOfErrno(errno, target);

    const QByteArray prefix = temporaryPrefixOf(target);
    removeStaleTemporaries(prefix);

    QByteArray temporary;
    int fd = -1;
    int error = createTemporary(prefix, temporary, fd);
    if (error == EACCES || error == EPERM) {
        if (exists) return saveInPlace(target, data, keepBackup);
    }
    if (error != 0) return resultOfErrno(error, target);

    carryOverOwnerAndMode(fd, exists ? &info : nullptr);
    error = overwrite(fd, data);
    const int closeError = closeFile(fd);
    if (error == 0) error = closeError;
    if (error != 0) {
        ::unlink(temporary.constData());
        return resultOfErrno(error, target);
    }

    // The new data are on disk. The old file gets its second name first, so the file's own
    // name exists at every moment; the rename then replaces it in one step.
    const QByteArray backup = backupPathOf(target);
    QByteArray backupCandidate;
    const bool backedUp = keepBackup && exists && backup != target && makeBackupCandidate(target, info, prefix, backupCandidate);
    if (::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
        ::unlink(temporary.constData());
        if (backedUp) ::unlink(backupCandidate.constData());
        return resultOfErrno(error, target);
    }
    // A backup that cannot take its name does not undo the save.
    if (backedUp && ::rename(backupCandidate.constData(), backup.constData()) != 0)
        ::unlink(backupCandidate.constData());
    syncFolder(folderOf(target));
    return {};
}

void IgnoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace lumo
