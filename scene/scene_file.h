// Reading and writing the scene file: the Scene Set raw, 3,536 bytes, no header.
#pragma once

#include "scene/file_result.h"
#include "scene/scene_record.h"

#include <QString>

namespace lumo {

// The error box text, with its full stop: "File not found.", "I/O error 28." ...
QString FileErrorText(const FileResult& result);

// Reads the first 3,536 bytes of the file (opened for reading only) into `scenes`. Anything
// but a regular file (a folder, FIFO or device) is "File access denied", found without
// waiting for a FIFO's writer. On any failure `scenes` is left exactly as it was.
FileResult LoadSceneFile(const QString& path, SceneSet& scenes);

// Saves the Scene Set to the file that `path` names once symbolic links are followed (a link
// stays a link). Anything but a regular file is refused with "File access denied" before
// anything is made or moved. The image goes into a temporary file beside the file (mode 0600,
// then the old file's mode, owner and group where allowed) and is flushed; then the old file
// also gets the backup name (same folder, extension ".BAK", replacing an older backup) and the
// temporary file is renamed over it, so the name always holds a whole scene file. A folder
// that takes no new files but holds a writable file gets that file overwritten in place (and
// a writable backup file there the old contents first); only there can a failing write leave
// the file in part. Otherwise a failure leaves the file and its backup as they were and no
// temporary file behind; one left by a killed save is removed by the next save of that file.
FileResult SaveSceneFile(const QString& path, const SceneSet& scenes);
// The same for any contents (an export), with or without the backup.
FileResult SaveFileData(const QString& path, const QByteArray& data, bool keepBackup);

// The backup path of a scene file: same folder, extension replaced by (or appended) ".BAK".
QString BackupPathOf(const QString& path);

// Makes a write past the file-size limit fail with EFBIG ("I/O error 27.") instead of
// killing the program with SIGXFSZ; both programs call it at start.
void IgnoreFileSizeSignal();

} // namespace lumo
