// Pad CC/Note field key handling.
#include "editor/pad_number_field.h"

#include <QKeyEvent>

namespace lumo {

PadNumberField::PadNumberField(QWidget* parent)
    : UpperCaseLineEdit(parent)
{
    // Note names come from NotePara.ini and may use any character.
    setValidator(nullptr);
}

void PadNumberField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up) emit stepRequested(1);
    else if (event->key() == Qt::Key_Down) emit stepRequested(-1);
    UpperCaseLineEdit::keyPressEvent(event);
}

} // namespace lumo
