// A drop-down list of fixed items whose change handler runs on the user's choice only; the
// program sets it silently. Its value is the chosen item's position, -1 when none is shown.
// The mouse wheel changes it only while it has the focus. An item too wide for the closed box
// shows there in a smaller font; the open list shows every item whole, wider than the box
// where it needs to be.
#pragma once

#include <QComboBox>

#include <cstdint>

namespace lumo {

class ChoiceBox : public QComboBox {
    Q_OBJECT
public:
    ChoiceBox(const QStringList& items, QWidget* parent = nullptr);

    // Shows item `index`; a value without an item leaves the box empty. Runs no handler.
    void setIndex(std::int64_t index);

    void showPopup() override;
    // The font in which the closed box shows its current item: the box's own font, made smaller
    // while the item would not fit.
    QFont shownItemFont() const;

signals:
    // The user chose item `index` with the mouse, the keyboard or the wheel.
    void userChanged(int index);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lumo
