// Drop-down list that reports user choices only.
#include "editor/choice_box.h"

namespace lumo {

ChoiceBox::ChoiceBox(const QStringList& items, QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    addItems(items);
    setMaxVisibleItems(static_cast<int>(items.size()));
    // activated is emitted for user choices only, never for setCurrentIndex.
    connect(this, &QComboBox::activated, this, &ChoiceBox::userChanged);
}

void ChoiceBox::setIndex(std::int64_t index)
{
    setCurrentIndex(index >= 0 && index < count() ? static_cast<int>(index) : -1);
}

} // namespace lumo
