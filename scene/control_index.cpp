// Control Index arithmetic and field access by kind.
#include "scene/control_index.h"


namespace lumo {

ControlKind KindOfControl(int controlIndex)
{
    if (controlIndex >= 1 && controlIndex <= 4) return ControlKind::Group;
    if (controlIndex >= 5 && controlIndex <= 8) return ControlKind::Knob;
    if (controlIndex >= 9 && controlIndex <= 12) return ControlKind::Slider;
    if (controlIndex >= 13 && controlIndex <= 20) return ControlKind::Pad;
    if (controlIndex >= 21 && controlIndex <= 45) return ControlKind::Key;
    return ControlKind::Common;
}

int FirstIndexOfKind(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Group: return 1;
    case ControlKind::Knob: return 5;
    case ControlKind::Slider: return 9;
    case ControlKind::Pad: return 13;
    case ControlKind::Key: return 21;
    case ControlKind::Common: break;
    }
    return 0;
}

int ControlCountOfKind(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Group: return kGroupCount;
    case ControlKind::Knob: return kKnobCount;
    case ControlKind::Slider: return kSliderCount;
    case ControlKind::Pad: return kPadCount;
    case ControlKind::Key: return kKeyCount;
    case ControlKind::Common: break;
    }
    return 1;
}

} // namespace lumo
