// How a file operation ended, in the error numbers of the error box. Qt-free: the platform's
// file operations (safe_file.h) report in it too.
#pragma once

namespace lumo {

enum class FileError {
    None = 0,
    FileNotFound = 2,
    InvalidFilename = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    ReadBeyondEnd = 100,
    DiskFull = 101,
    Other = -1, // the system's error number is in FileResult::systemError
};

struct FileResult {
    FileError error = FileError::None;
    int systemError = 0; // errno, or GetLastError() on Windows, for FileError::Other
    bool ok() const { return error == FileError::None; }
};

} // namespace lumo
