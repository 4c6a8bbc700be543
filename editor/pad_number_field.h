// The pad's CC/Note field: a capitals-only text field showing a controller number or a note
// name, whose cursor-up and cursor-down keys request a step and still reach the field.
#pragma once

#include "editor/upper_case_line_edit.h"

namespace lumo {

class PadNumberField : public UpperCaseLineEdit {
    Q_OBJECT
public:
    explicit PadNumberField(QWidget* parent = nullptr);

signals:
    // +1 for the cursor-up key, -1 for cursor-down (EditPadCCNumberKeyDown).
    void stepRequested(int step);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace lumo
