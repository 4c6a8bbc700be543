// Where the parameter files are looked for: the current folder, then the user's config
// folder, then the installed data folder, so that a program started from anywhere finds them.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumo {

// The current folder, $XDG_CONFIG_HOME/vorel-lumo, then share/vorel-lumo beside the running
// program's prefix and under the prefix it was configured for (when that differs).
QStringList ParameterFolders();

// The path of `fileName` in the first of `folders` that has it; nullopt when none has it.
std::optional<QString> FindParameterFile(const QStringList& folders, const QString& fileName);

} // namespace lumo
