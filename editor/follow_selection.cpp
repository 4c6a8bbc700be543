// The selection of "Follow Controller": match the message, then do what the scene button and
// the overlay label's click do, and put back what their refills stored.
#include "editor/follow_selection.h"

#include "device/short_message.h"
#include "editor/control_area.h"
#include "scene/control_messages.h"
#include "scene/document.h"

#include <QApplication>
#include <QToolButton>
#include <QWidget>

namespace lumo {

bool SelectSender(std::uint32_t word, Document& document, ControlArea& controls, QWidget* client)
{
    const std::optional<ControlMessage> message = IncomingMessage(StatusByte(word), FirstDataByte(word), SecondDataByte(word));
    // The window takes no input while a transfer runs, and neither does following.
    if (!message || !client->isEnabled())
        return false;
    const std::optional<ControlMatch> match = MatchMessage(document.scenes(), document.currentScene(), *message);
    if (!match)
        return false;
    // A knob turned sends a run of messages: once its control is shown, the rest change nothing,
    // and a field of it being typed in keeps the focus.
    if (match->scene == document.currentScene() && match->controlIndex == controls.selectedIndex()
        && controls.controlKind() == KindOfControl(match->controlIndex))
        return true;

    // A click takes the focus from a field being typed in, which stores the edit: that is the
    // user's, and is kept.
    if (QWidget* focus = QApplication::focusWidget(); focus && client->isAncestorOf(focus))
        focus->clearFocus();
    const SceneSet before = document.scenes();
    const bool modified = document.modified();
    if (match->scene != document.currentScene())
        client->findChild<QToolButton*>(QStringLiteral("SceneButton%1").arg(match->scene))->click();
    controls.setSelectedIndex(match->controlIndex);
    controls.showSelectedControl();
    const bool changed = document.scenes() != before;
    document.restore(before, modified);
    if (changed) controls.refreshOverlay(controls.displayMode());
    return true;
}

} // namespace lumo
