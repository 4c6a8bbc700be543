// Temporary stand-in for the control area until its implementation is committed.
#include "editor/control_area.h"

#include <QWidget>

namespace lumo {

struct ControlArea::Private {
    Document* document;
    int selected = 0;
};

ControlArea::ControlArea(QWidget* client, Document& document, const NoteNames&, QObject* parent)
    : QObject(parent)
    , d(new Private{&document})
{
    Q_UNUSED(client);
}

ControlArea::~ControlArea() { delete d; }
void ControlArea::ControlListClick() {}
void ControlArea::RefreshOverlay(int) {}
void ControlArea::SceneButton1Click() { d->document->setCurrentScene(1); d->selected = 0; }
void ControlArea::moveFrameOffWindow() {}
int ControlArea::displayMode() const { return 2; }
ControlKind ControlArea::controlKind() const { return ControlKind{}; }
int ControlArea::selectedIndex() const { return d->selected; }
void ControlArea::setSelectedIndex(int index) { d->selected = index; }

} // namespace lumo
