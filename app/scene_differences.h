// The settings in which two Scene Sets differ, one line each, as `lumo diff` prints them and
// "Compare With Controller" shows them.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <QStringList>

namespace lumo {

// "scene N, CONTROL, FIELD: VALUE-IN-A -> VALUE-IN-B", scenes 1 to 4 and within a scene in the
// order of `lumo show`; names in quotes. Bytes that are no setting (padding, name bytes past
// the visible name) are not compared. Empty when the settings agree.
QStringList SceneDifferenceLines(const SceneSet& a, const SceneSet& b, const NoteNames& notes);

} // namespace lumo
