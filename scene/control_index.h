// The control list's positions (Control Index 0..45), their kinds, and the record fields
// that each kind edits.
#pragma once

#include "scene/scene_record.h"

#include <cstdint>

namespace lumo {

inline constexpr int kControlCount = 46;

// Kind of the selected item: 0 "Common" (or nothing selected) .. 5 keys.
enum class ControlKind : int { Common = 0, Group = 1, Knob = 2, Slider = 3, Pad = 4, Key = 5 };

// Kind of a Control Index; a position outside 0..45 gives Common.
ControlKind KindOfControl(int controlIndex);
// First Control Index of a kind (Common 0, groups 1, knobs 5, sliders 9, pads 13, keys 21).
int FirstIndexOfKind(ControlKind kind);
// Number of controls of a kind (Common 1, groups/knobs/sliders 4, pads 8, keys 25).
int ControlCountOfKind(ControlKind kind);
// Array element of a Control Index within its kind.
inline int ElementOfControl(int controlIndex) { return controlIndex - FirstIndexOfKind(KindOfControl(controlIndex)); }

} // namespace lumo
