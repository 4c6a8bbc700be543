// The control list (ControlList): 46 items of 16 pixels. Reports the user's selections with
// the mouse or the keyboard; selecting from the program reports nothing.
#pragma once

#include <QListWidget>

namespace lumo {

class ControlListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ControlListBox(QWidget* parent = nullptr);

    // Selects `index`, or nothing for a position outside the list, without reporting it.
    void selectSilently(int index);

signals:
    void userSelected();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace lumo
