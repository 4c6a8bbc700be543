// The file operations of the scene file on Windows, with the same guarantees as on POSIX: the new
// contents go into a temporary file beside the file and are flushed; the old contents get a
// second name (a copy, made without touching the file); ReplaceFileW then puts the new file in
// place in one step, keeping the old file's attributes and security, and the copy takes the
// backup name. Qt-free, so that it is built and run on its own under Wine.
#include "scene/safe_file.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <random>

namespace lumo {

namespace {

// Tries for a fresh temporary name before giving up.
constexpr int kNameAttempts = 100;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

constexpr FileResult kNotARegularFile{FileError::AccessDenied, 0};

std::wstring widen(const std::string& utf8)
{
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

// Where the file's own name begins after its folder (or drive).
template<typename Char>
std::size_t nameStart(const std::basic_string<Char>& path)
{
    constexpr Char kSeparators[] = {Char('/'), Char('\\'), Char(':'), Char(0)};
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::basic_string<Char>::npos ? 0 : separator + 1;
}

// Same folder, extension replaced by (or appended) ".BAK".
template<typename Char>
std::basic_string<Char> backupPathOf(const std::basic_string<Char>& path)
{
    constexpr Char kExtension[] = {Char('.'), Char('B'), Char('A'), Char('K'), Char(0)};
    const std::size_t dot = path.find_last_of(Char('.'));
    const bool hasExtension = dot != std::basic_string<Char>::npos && dot >= nameStart(path);
    return (hasExtension ? path.substr(0, dot) : path) + kExtension;
}

// The system's error numbers are the error box's own; a file locked or in use by another
// program is "File access denied", as a read-only one is.
FileResult resultOf(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return {};
    case ERROR_FILE_NOT_FOUND:
        return {FileError::FileNotFound, 0};
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
        return {FileError::InvalidFilename, 0};
    case ERROR_TOO_MANY_OPEN_FILES:
        return {FileError::TooManyOpenFiles, 0};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return {FileError::AccessDenied, 0};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return {FileError::DiskFull, 0};
    default:
        return {FileError::Other, static_cast<int>(error)};
    }
}

FileResult lastResult()
{
    return resultOf(GetLastError());
}

// Closes on every path out.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    DWORD close()
    {
        if (!valid()) return ERROR_SUCCESS;
        const DWORD error = CloseHandle(m_handle) ? ERROR_SUCCESS : GetLastError();
        m_handle = INVALID_HANDLE_VALUE;
        return error;
    }

private:
    HANDLE m_handle;
};

// The file's first bytes are JSON text (an export): its backup then gets ".bak" appended.
bool firstBytesAreJson(const std::wstring& path)
{
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    char head[kJsonProbeSize];
    DWORD got = 0;
    return ReadFile(file.get(), head, sizeof head, &got, nullptr) && StartsAsJsonText(head, got);
}

// Writes all bytes, cuts the file there and flushes it to the disk.
DWORD overwrite(HANDLE file, const char* data, std::size_t size)
{
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return GetLastError();
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_DISK_FULL;
        data += written;
        size -= written;
    }
    if (!SetEndOfFile(file) || !FlushFileBuffers(file)) return GetLastError();
    return ERROR_SUCCESS;
}

// Reads up to `size` bytes; `filled` tells how many came before the end or an error.
DWORD readUpTo(HANDLE file, std::uint8_t* data, std::size_t size, std::size_t& filled)
{
    filled = 0;
    while (filled < size) {
        const std::size_t left = size - filled;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file, data + filled, chunk, &got, nullptr)) return GetLastError();
        if (got == 0) break;
        filled += got;
    }
    return ERROR_SUCCESS;
}

std::string contentsOf(const std::wstring& path)
{
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string contents;
    if (!file.valid()) return contents;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) contents.append(chunk, got);
    return contents;
}

// The file that a symbolic link or junction leads to; a dangling link gives the file that the
// save creates, and the link itself stays.
std::wstring resolveLinks(const std::wstring& path, DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    Handle file(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.get(), resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    if (length >= resolved.size()) {
        resolved.resize(length + 1);
        length = GetFinalPathNameByHandleW(file.get(), resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    }
    if (length == 0 || length >= resolved.size()) return path;
    resolved.resize(length);
    return resolved;
}

// Temporary files are named ".lumo-<hash of the file's name>-<process id>-<random>" beside the
// file, as on POSIX, so the next save of the same file removes what a killed save left.
std::wstring temporaryPrefixOf(const std::wstring& path)
{
    std::uint32_t hash = 2166136261u; // FNV-1a: the same on every run
    for (std::size_t i = nameStart(path); i < path.size(); ++i)
        hash = (hash ^ static_cast<std::uint16_t>(path[i])) * 16777619u;
    wchar_t digits[16];
    wsprintfW(digits, L"%x", hash);
    return path.substr(0, nameStart(path)) + L".lumo-" + digits + L"-";
}

bool processGone(DWORD pid)
{
    if (pid == GetCurrentProcessId()) return true;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    const bool ended = GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

void removeStaleTemporaries(const std::wstring& prefix)
{
    const std::wstring folder = prefix.substr(0, nameStart(prefix));
    const std::wstring namePrefix = prefix.substr(folder.size());
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((prefix + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name.compare(0, namePrefix.size(), namePrefix) != 0) continue;
        wchar_t* end = nullptr;
        const unsigned long pid = std::wcstoul(name.c_str() + namePrefix.size(), &end, 10);
        // Another save of this file may be running in another process: its files stay.
        if (end != name.c_str() + namePrefix.size() && *end == L'-' && processGone(pid))
            DeleteFileW((folder + name).c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

// Makes a new file of a fresh temporary name with `make` (which returns an error number);
// an existing name tries the next.
template<typename Make>
DWORD makeTemporary(const std::wstring& prefix, std::wstring& name, Make&& make)
{
    static std::mt19937 random{std::random_device{}()};
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kNameAttempts && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
         ++attempt) {
        wchar_t tail[48];
        wsprintfW(tail, L"%lu-%08lx", GetCurrentProcessId(), static_cast<unsigned long>(random()));
        name = prefix + tail;
        error = make(name);
    }
    return error;
}

DWORD createTemporary(const std::wstring& prefix, std::wstring& name, HANDLE& file)
{
    return makeTemporary(prefix, name, [&file](const std::wstring& candidate) {
        file = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    });
}

// A second name for the old contents, made without touching the old file. Best effort.
bool makeBackupCandidate(const std::wstring& target, const std::wstring& prefix, std::wstring& candidate)
{
    return makeTemporary(prefix, candidate, [&target](const std::wstring& name) {
               return CopyFileW(target.c_str(), name.c_str(), TRUE) ? ERROR_SUCCESS : GetLastError();
           })
           == ERROR_SUCCESS;
}

bool isDiskFile(HANDLE file)
{
    return GetFileType(file) == FILE_TYPE_DISK;
}

// For a writable file in a folder that takes no new files: the backup goes into an existing
// backup file that may be written, then the file itself is overwritten with the whole image.
FileResult saveInPlace(const std::wstring& target, const std::wstring& backup, const char* data, std::size_t size,
                       bool keepBackup)
{
    if (keepBackup) {
        Handle backupFile(CreateFileW(backup.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (backupFile.valid() && isDiskFile(backupFile.get())) {
            const std::string old = contentsOf(target);
            (void)overwrite(backupFile.get(), old.data(), old.size());
        }
    }
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return lastResult();
    if (!isDiskFile(file.get())) return kNotARegularFile;
    DWORD error = overwrite(file.get(), data, size);
    const DWORD closeError = file.close();
    return resultOf(error != ERROR_SUCCESS ? error : closeError);
}

// The new file takes the old one's name in one step. ReplaceFileW keeps the old file's
// attributes and security; where it has removed the old file but could not rename the new
// one, MoveFileExW finishes the move.
DWORD putInPlace(const std::wstring& temporary, const std::wstring& target, bool exists)
{
    if (!exists) return MoveFileExW(temporary.c_str(), target.c_str(), kMoveFlags) ? ERROR_SUCCESS : GetLastError();
    if (ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                     REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                     nullptr, nullptr))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT && MoveFileExW(temporary.c_str(), target.c_str(), kMoveFlags))
        return ERROR_SUCCESS;
    return error;
}

} // namespace

std::string BackupFileName(const std::string& path)
{
    return backupPathOf(path);
}

FileResult ReadFileStart(const std::string& path, std::uint8_t* data, std::size_t size)
{
    Handle file(CreateFileW(widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return lastResult();
    if (!isDiskFile(file.get())) return kNotARegularFile;
    std::size_t filled = 0;
    const DWORD readError = readUpTo(file.get(), data, size, filled);
    const DWORD closeError = file.close();
    if (readError != ERROR_SUCCESS) return resultOf(readError);
    if (filled < size) return {FileError::ReadBeyondEnd, 0};
    return resultOf(closeError);
}

FileResult ReplaceFileSafely(const std::string& path, const char* data, std::size_t size, bool keepBackup)
{
    const std::wstring named = widen(path);
    if (named.empty()) return {FileError::InvalidFilename, 0};
    const std::wstring target = resolveLinks(named, GetFileAttributesW(named.c_str()));

    // Only a regular file that may be written is replaced: a folder, device, read-only file or
    // a file another program holds is refused before anything is made or moved.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) return lastResult();
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return kNotARegularFile;
    if (exists) {
        // DELETE access as well: a program that holds the file without sharing its removal
        // (most editors) makes the replace fail half-way, so the open fails instead.
        Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return lastResult();
        if (!isDiskFile(file.get())) return kNotARegularFile;
    }

    const std::wstring prefix = temporaryPrefixOf(target);
    removeStaleTemporaries(prefix);
    const std::wstring backup = firstBytesAreJson(target) ? target + L".bak" : backupPathOf(target);

    std::wstring temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = createTemporary(prefix, temporary, handle);
    if (error == ERROR_ACCESS_DENIED && exists) return saveInPlace(target, backup, data, size, keepBackup);
    if (error != ERROR_SUCCESS) return resultOf(error);
    Handle file(handle);
    error = overwrite(file.get(), data, size);
    const DWORD closeError = file.close();
    if (error == ERROR_SUCCESS) error = closeError;
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return resultOf(error);
    }

    // The new data are on disk. The old contents get their second name first, so the file's
    // own name holds a whole file at every moment.
    std::wstring backupCandidate;
    const bool backedUp = keepBackup && exists && backup != target && makeBackupCandidate(target, prefix, backupCandidate);
    error = putInPlace(temporary, target, exists);
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        if (backedUp) DeleteFileW(backupCandidate.c_str());
        return resultOf(error);
    }
    // A backup that cannot take its name does not undo the save.
    if (backedUp && !MoveFileExW(backupCandidate.c_str(), backup.c_str(), kMoveFlags)) DeleteFileW(backupCandidate.c_str());
    return {};
}

void IgnoreFileSizeLimitSignal()
{
    // Windows has no file-size signal: a write past a limit fails with its own error.
}

} // namespace lumo
