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
// also gets the backup name (same folder, extension ".BAK", replacing an older backup; for an
// old file holding JSON text the whole name + ".bak", so that an export's text never takes the
// backup name of the scene file it was exported from) and the
// temporary file is renamed over it, so the name always holds a whole scene file. A folder
// that takes no new files but holds a writable file gets that file overwritten in place (and
// a writable backup file there the old contents first); only there can a failing write leave
// the file in part. Otherwise a failure leaves the file and its backup as they were and no
// temporary file behind; one left by a killed save is removed by the next save of that file.
FileResult SaveSceneFile(const QString& path, const SceneSet& scenes);
// The same for any contents (an export), with or without the backup.
FileResult SaveFileData(const QString& path, const QByteArray& data, bool keepBackup);

// A small file read whole, for the parameter files, the settings and a JSON import.
struct SmallFile {
    QByteArray data;
    QString error; // the system's error text without a full stop; empty when `data` is the file
    bool ok() const { return error.isEmpty(); }
};
inline constexpr qint64 kLargestSmallFile = 1024 * 1024;
// Reads the file that `path` names when it is a regular file of at most `limit` bytes. A FIFO,
// device, socket or folder is refused at once ("Not a regular file"), never waited on, and a
// larger file is refused without being read further ("Larger than 1 MiB").
SmallFile ReadSmallFile(const QString& path, qint64 limit = kLargestSmallFile);

// True when the bytes are JSON text as `lumo export` writes it: the first byte that is no
// blank (space, tab, CR, LF) is "{". A scene file begins with its name's length, 0 .. 12.
bool IsJsonText(const QByteArray& bytes);
// The same for the first bytes of a regular file; false for anything that cannot be read.
bool HoldsJsonText(const QString& path);

// The backup path of a scene file: same folder, extension replaced by (or appended) ".BAK".
QString BackupPathOf(const QString& path);

// Makes a write past the file-size limit fail with EFBIG ("I/O error 27.") instead of
// killing the program with SIGXFSZ; both programs call it at start.
void IgnoreFileSizeSignal();

} // namespace lumo
