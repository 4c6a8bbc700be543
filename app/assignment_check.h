// The assignment check: enabled controls of one scene that send the same message, and stored
// numbers and channels that MIDI cannot carry.
#pragma once

#include "scene/control_messages.h"
#include "scene/scene_record.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace lumo {

struct AssignmentFinding {
    QString text; // "scene 3: Konb-1 and Konb-2 both send CC 20 on channel 1"
    // The Control Indexes of a conflict, in list order; both 0 for a value MIDI cannot carry.
    int firstControl = 0;
    int secondControl = 0;
};

// What a message is, as the check and the overlay's tooltips say it: "CC 20 on channel 1",
// "note 38 on channel 10".
QString MessageDescription(const ControlMessage& message);
// The tooltip of control `controlIndex` (1..45) of `record`: what it sends, by the same
// description: "Konb-1: CC 20 on channel 1, 0–127", "Trigger Pad-3: Note 38 on channel 10",
// "Key-2: CC 61 on channel 1, OFF 0, ON 127"; "Konb-1: off" when it sends nothing; a group
// gives its channel.
QString ControlToolTip(const SceneRecord& record, int controlIndex);

// The findings of scene `sceneNumber`, in list order: first the scene's own channel when it
// is no channel, then for each control that sends a message its channel field (once per
// field) and its number when they cannot go out, and the control that sends the same message
// before it in list order. Of three controls on one message, the second and the third are
// each reported with the first.
std::vector<AssignmentFinding> CheckScene(const SceneRecord& record, int sceneNumber);
// The finding lines of the four scenes, scene 1 first.
QStringList CheckAssignments(const SceneSet& scenes);
// Control Indexes, ascending, of the controls of `record` that share their message with
// another control.
std::vector<int> ConflictingControls(const SceneRecord& record);

} // namespace lumo
