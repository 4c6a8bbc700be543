// The send backups' file operations on Windows: a reparse point (a link) is opened as itself and
// never taken for a backup; a file is known by its volume and file index.
#include "app/backup_files.h"

#include <QFile>
#include <QFileInfo>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace lumo {

quint64 RegularFileIdentity(const QString& path)
{
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    const DWORD notRegular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if (!known || (info.dwFileAttributes & notRegular) != 0) return 0;
    const quint64 index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return index != 0 ? index : 1;
}

bool NameExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void RemoveName(const QString& path)
{
    QFile::remove(path);
}

} // namespace lumo
