// The file operations under the scene file, one implementation per platform: safe_file_posix.cpp
// and safe_file_win.cpp. Qt-free, so that the Windows one is built and tested on its own. Paths
// are the file system's bytes on POSIX and UTF-8 on Windows.
#pragma once

#include "scene/file_result.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumo {

// Reads the first `size` bytes of a regular file into `data`; a shorter file is
// "Read beyond end of file". Anything else (a folder, FIFO, device) is "File access denied",
// found without waiting for a FIFO's writer. `data` may be written in part on a failure.
FileResult ReadFileStart(const std::string& path, std::uint8_t* data, std::size_t size);

// Replaces the file with `size` bytes of `data` through a temporary file beside it, so that the
// file's name holds either the old or the whole new contents at every moment; with `keepBackup`
// the old contents also get the backup name (BackupFileName), replacing an older backup. The
// guarantees in detail are those of SaveSceneFile (scene_file.h).
FileResult ReplaceFileSafely(const std::string& path, const char* data, std::size_t size, bool keepBackup);

// Same folder, extension replaced by (or appended) ".BAK".
std::string BackupFileName(const std::string& path);

// Makes a write past the file-size limit fail instead of ending the program (POSIX's SIGXFSZ).
void IgnoreFileSizeLimitSignal();

} // namespace lumo
