// The tool's own file names on Windows: arguments arrive as UTF-16, which Qt opens as they are.
// A file is known by its volume and file index (stat gives no inode number there).
#include "cli/cli_common.h"

#include <QFileInfo>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace lumo::cli {

namespace {

bool identityOf(const QString& name, BY_HANDLE_FILE_INFORMATION& info)
{
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(name.utf16()), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return known;
}

} // namespace

QString OpenNamedFile(QFile& file, const QString& name, QIODevice::OpenMode mode)
{
    file.setFileName(name);
    if (QFileInfo(name).exists() && !QFileInfo(name).isFile()) return QStringLiteral("Not a regular file");
    if (!file.open(mode | (mode.testFlag(QIODevice::WriteOnly) ? QIODevice::Truncate : QIODevice::NotOpen)))
        return file.errorString();
    return QString();
}

// The console gives a process its standard handles; a closed one is not taken by the next file.
void KeepStandardStreamsClosed() {}

bool IsNonRegularFile(const QString& name)
{
    const QFileInfo info(name);
    return info.exists() && !info.isFile();
}

bool IsSameFile(const QString& a, const QString& b)
{
    BY_HANDLE_FILE_INFORMATION first {}, second {};
    return identityOf(a, first) && identityOf(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
           && first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace lumo::cli
