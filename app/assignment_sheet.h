// What every sending control of a scene sends, one line each, for the printed sheet of the
// assignments: "Konb-1 — CC 20 on channel 1, 0–127".
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <QStringList>

namespace lumo {

// In control list order, every control for which MessageOfControl gives a message (as the
// assignment check sees it): its list item, an em dash, the message with its resolved channel,
// then the value range (Lower/Left to Upper/Right for knobs and sliders, OFF to ON for CCs of
// pads and keys, joined by an en dash) and, for pads and keys, the behaviour. A pad's note
// gets its note name.
QStringList AssignmentSheetLines(const SceneRecord& record, const NoteNames& notes);

} // namespace lumo
