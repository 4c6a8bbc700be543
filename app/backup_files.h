// The file operations of the send backups that the platforms do differently: one file per
// platform, backup_files_posix.cpp and backup_files_win.cpp.
#pragma once

#include <QString>

namespace lumo {

// What tells a regular file itself from a file or link put under its name later (its inode on
// POSIX, its file index on Windows); 0 when `path` is no regular file or is a link.
quint64 RegularFileIdentity(const QString& path);
// True when anything, a dangling link included, has that name.
bool NameExists(const QString& path);
// Removes the name, never what a link points to.
void RemoveName(const QString& path);

} // namespace lumo
