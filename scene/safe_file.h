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

// True when the first byte that is no blank (space, tab, CR, LF) is "{": JSON text as
// `lumo export` writes it. A scene file begins with its name's length, 0 .. 12.
inline bool StartsAsJsonText(const char* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        return c == '{';
    }
    return false;
}
// Up to 4 KiB is enough to pass any blanks an export begins with.
inline constexpr std::size_t kJsonProbeSize = 4096;

// Same folder, extension replaced by (or appended) ".BAK"; the backup of JSON text is the
// file's name with ".bak" appended instead, so that it never takes a scene file's backup.
std::string BackupFileName(const std::string& path);

// Makes a write past the file-size limit fail instead of ending the program (POSIX's SIGXFSZ).
void IgnoreFileSizeLimitSignal();

} // namespace lumo
