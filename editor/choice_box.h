// A drop-down list of fixed items whose change handler runs on the user's choice only; the
// program sets it silently. Its value is the chosen item's position, -1 when none is shown.
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

signals:
    // The user chose item `index` with the mouse, the keyboard or the wheel.
    void userChanged(int index);
};

} // namespace lumo
