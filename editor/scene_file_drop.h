// What a drop on the main window may carry: exactly one existing local ".lumo" file.
#pragma once

#include <QString>

#include <optional>

class QMimeData;

namespace lumo {

// The path of the one scene file in `data`; nullopt for several files, a folder, another
// type or anything that is no local file.
std::optional<QString> DroppedSceneFile(const QMimeData* data);

} // namespace lumo
