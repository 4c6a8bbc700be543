// The reads that the POSIX file units share (safe_file_posix.cpp, small_file_posix.cpp);
// included by those two alone.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include <sys/stat.h>

namespace lumo::posix {

// Reads up to `size` bytes; `filled` tells how many came before the end or an error (errno).
int ReadUpTo(int fd, std::uint8_t* data, std::size_t size, std::size_t& filled);
// Opens a regular file for reading without waiting on a FIFO; -1 with errno set otherwise
// (EINVAL standing for "not a regular file").
int OpenRegular(const QByteArray& path, struct stat& info);
// The regular file's first bytes are JSON text (StartsAsJsonText); false when it can't be read.
bool FirstBytesAreJson(const QByteArray& path);

} // namespace lumo::posix
