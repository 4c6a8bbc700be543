// The Windows safe save on real files, built with MinGW-w64 and run under Wine (no Qt, no
// GoogleTest there): the faults that exist on Windows lose nothing.
#include "scene/safe_file.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int g_failures = 0;

void expect(bool condition, const char* what, int line)
{
    if (condition) return;
    std::printf("FAILED line %d: %s\n", line, what);
    ++g_failures;
}
#define EXPECT(condition) expect((condition), #condition, __LINE__)

std::wstring widen(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    return wide;
}

std::string g_folder; // UTF-8, ends with a backslash

std::string pathOf(const std::string& name) { return g_folder + name; }

bool exists(const std::string& name) { return GetFileAttributesW(widen(pathOf(name)).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string contentsOf(const std::string& name)
{
    char data[64] = {};
    const lumo::FileResult result = lumo::ReadFileStart(pathOf(name), reinterpret_cast<std::uint8_t*>(data), 3);
    return result.ok() ? std::string(data, 3) : "<" + std::to_string(static_cast<int>(result.error)) + ">";
}

lumo::FileResult save(const std::string& name, const std::string& data, bool keepBackup = true)
{
    return lumo::ReplaceFileSafely(pathOf(name), data.data(), data.size(), keepBackup);
}

// Files in the folder besides the named ones: a temporary file left behind.
int strayFiles(std::initializer_list<const char*> expected)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(widen(g_folder + "*").c_str(), &entry);
    int stray = 0;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        bool known = false;
        for (const char* file : expected) known = known || name == widen(file);
        if (!known) {
            std::printf("stray file: %ls\n", name.c_str());
            ++stray;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return stray;
}

void setReadOnly(const std::string& name, bool readOnly)
{
    SetFileAttributesW(widen(pathOf(name)).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

void clearFolder()
{
    for (const char* name : {"live.lumo", "live.BAK", "noext", "noext.BAK", "szene-\xc3\xbc.lumo", "szene-\xc3\xbc.BAK"}) {
        setReadOnly(name, false);
        DeleteFileW(widen(pathOf(name)).c_str());
    }
}

void savesKeepTheLastFileAsBackup()
{
    EXPECT(save("live.lumo", "one").ok());
    EXPECT(contentsOf("live.lumo") == "one");
    EXPECT(!exists("live.BAK"));
    EXPECT(save("live.lumo", "two").ok());
    EXPECT(contentsOf("live.BAK") == "one");
    // An existing backup is replaced by the newer old file.
    EXPECT(save("live.lumo", "six").ok());
    EXPECT(contentsOf("live.lumo") == "six");
    EXPECT(contentsOf("live.BAK") == "two");
    EXPECT(save("live.lumo", "ten", false).ok());
    EXPECT(contentsOf("live.BAK") == "two");
    EXPECT(save("noext", "abc").ok() && save("noext", "def").ok());
    EXPECT(contentsOf("noext.BAK") == "abc");
    // UTF-8 names reach the file system as the same characters.
    EXPECT(save("szene-\xc3\xbc.lumo", "uvw").ok() && save("szene-\xc3\xbc.lumo", "xyz").ok());
    EXPECT(GetFileAttributesW((widen(g_folder) + L"szene-\u00fc.BAK").c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT(strayFiles({"live.lumo", "live.BAK", "noext", "noext.BAK", "szene-\xc3\xbc.lumo", "szene-\xc3\xbc.BAK"}) == 0);
    clearFolder();
}

void readOnlyFileAndBackupLoseNothing()
{
    EXPECT(save("live.lumo", "one").ok() && save("live.lumo", "two").ok());
    setReadOnly("live.lumo", true);
    EXPECT(save("live.lumo", "new").error == lumo::FileError::AccessDenied);
    EXPECT(contentsOf("live.lumo") == "two"); // still readable
    EXPECT(contentsOf("live.BAK") == "one");
    setReadOnly("live.lumo", false);
    // A backup that cannot be replaced does not undo the save.
    setReadOnly("live.BAK", true);
    EXPECT(save("live.lumo", "new").ok());
    EXPECT(contentsOf("live.lumo") == "new");
    // Windows keeps a read-only backup; Wine replaces it as POSIX does. Either way it is whole.
    EXPECT(contentsOf("live.BAK") == "one" || contentsOf("live.BAK") == "two");
    EXPECT(strayFiles({"live.lumo", "live.BAK"}) == 0);
    clearFolder();
}

void missingFolderAndFileHaveTheirErrors()
{
    EXPECT(save("missing\\live.lumo", "one").error == lumo::FileError::InvalidFilename);
    EXPECT(contentsOf("missing\\live.lumo") == "<3>");
    EXPECT(contentsOf("live.lumo") == "<2>");
    EXPECT(lumo::ReplaceFileSafely("", "x", 1, true).error == lumo::FileError::InvalidFilename);
    // A folder is no scene file, and a short file is read beyond its end.
    CreateDirectoryW(widen(pathOf("folder.lumo")).c_str(), nullptr);
    EXPECT(save("folder.lumo", "one").error == lumo::FileError::AccessDenied);
    EXPECT(contentsOf("folder.lumo") == "<5>");
    RemoveDirectoryW(widen(pathOf("folder.lumo")).c_str());
    EXPECT(save("live.lumo", "on").ok());
    EXPECT(contentsOf("live.lumo") == "<100>");
    EXPECT(strayFiles({"live.lumo"}) == 0);
    clearFolder();
}

// Another program holding the file: without sharing at all, and sharing reading and writing
// but not its removal (the way most editors keep a file open).
void fileOpenElsewhereLosesNothing()
{
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        EXPECT(save("live.lumo", "one").ok() && save("live.lumo", "two").ok());
        HANDLE other = CreateFileW(widen(pathOf("live.lumo")).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT(other != INVALID_HANDLE_VALUE);
        const lumo::FileResult result = save("live.lumo", "new");
        CloseHandle(other);
        EXPECT(result.error == lumo::FileError::AccessDenied);
        EXPECT(contentsOf("live.lumo") == "two");
        EXPECT(contentsOf("live.BAK") == "one");
        EXPECT(strayFiles({"live.lumo", "live.BAK"}) == 0);
        clearFolder();
    }
}

} // namespace

int main()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lumo-safe-file-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        std::printf("cannot make the test folder\n");
        return 1;
    }
    char utf8[MAX_PATH * 3];
    utf8[WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr)] = 0;
    g_folder = utf8;

    savesKeepTheLastFileAsBackup();
    readOnlyFileAndBackupLoseNothing();
    missingFolderAndFileHaveTheirErrors();
    fileOpenElsewhereLosesNothing();

    clearFolder();
    RemoveDirectoryW(folder.c_str());
    std::printf(g_failures == 0 ? "safe_file_win_test: all passed\n" : "safe_file_win_test: %d failed\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
