// Every setting of a scene as the window shows it, for `lumo show` and the differences: the control's list item, the record's
// field name, the editor's caption, the stored value and the shown text.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"
#include "scene/scene_settings.h"

#include <QString>

#include <vector>

namespace lumo {

struct ShownSetting {
    const SceneSetting* setting;
    QString control;  // "Common", "Group Common-1", "Konb-1", "Trigger Pad-3", "Key-25"
    QString field;    // the record's field name: "KonbCCNumber"
    QString caption;  // the editor's caption: "CC Number"
    int stored = 0;   // the value as the record holds it (0 for the scene name)
    QString shown;    // "Global", "Note", "36 (C2)", "-3"; "invalid (200)" outside its list
};

// The scene name first, then the scene-wide settings, groups, knobs, sliders, pads and keys
// in the control list's order. `notes` names the pads' note numbers.
std::vector<ShownSetting> ShownSettingsOf(const SceneRecord& record, const NoteNames& notes);

} // namespace lumo
