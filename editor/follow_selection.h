// "Follow Controller" in the window: the control that sent a message of the controller,
// selected as a click on its overlay label selects it, without storing anything.
#pragma once

#include <cstdint>

class QWidget;

namespace lumo {

class ControlArea;
class Document;

// For a Control Change or a Note On `word`: selects the first control in list order of the
// current scene that sends it, or, when only other scenes have one, clicks the scene button of
// the first of them and selects it there. False when no control sends it (nothing changes).
// The scenes and the modified flag are left as they were, although the refill of the panel may
// store what an editor shows (200 held where it shows 127); a field being typed in is still
// left first, which stores the user's own edit as any click elsewhere would.
bool SelectSender(std::uint32_t word, Document& document, ControlArea& controls, QWidget* client);

} // namespace lumo
