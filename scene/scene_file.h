// Reading and writing the scene file: the Scene Set raw, 3,536 bytes, no header.
#pragma once

#include "scene/scene_record.h"

#include <QString>

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
    int systemError = 0; // errno for FileError::Other
    bool ok() const { return error == FileError::None; }
};

// The error box text, with its full stop: "File not found.", "I/O error 28." ...
QString FileErrorText(const FileResult& result);

// Reads the first 3,536 bytes of the file (opened for reading only) into `scenes`. On any
// failure `scenes` is left exactly as it was.
FileResult LoadSceneFile(const QString& path, SceneSet& scenes);

// Writes the Scene Set to a temporary file in the same folder and flushes it; only then does
// an existing file of that name become the backup (same folder, same base name, extension
// ".BAK", replacing an older backup) and the temporary file take its place. On failure the
// existing file and its backup are untouched.
FileResult SaveSceneFile(const QString& path, const SceneSet& scenes);

// The backup path of a scene file: same folder, extension replaced by (or appended) ".BAK".
QString BackupPathOf(const QString& path);

} // namespace lumo
