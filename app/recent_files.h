// "Open Recent": the last scene files opened or saved, newest first, kept in the user's
// settings (vorel-lumo/vorel-lumo.conf, key File/Recent).
#pragma once

#include <QStringList>

namespace lumo {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 10;

    // The stored list, newest first.
    static QStringList files();
    // `path` (made absolute) goes to the front; an earlier entry of it is removed and the
    // list keeps its first kMaxFiles.
    static void add(const QString& path);
    static void clear();
    // Removes the files that no longer exist and gives the rest.
    static QStringList existingFiles();
};

} // namespace lumo
