// Control list items and user-selection reporting.
#include "editor/control_list_box.h"

#include "scene/display_texts.h"

#include <QMouseEvent>

namespace lumo {

namespace {
constexpr int kItemHeight = 16;
}

ControlListBox::ControlListBox(QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("ControlList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    setFont(font);
    for (const QString& text : ShownControlListItems()) {
        auto* item = new QListWidgetItem(text, this);
        item->setSizeHint(QSize(0, kItemHeight));
    }
}

void ControlListBox::selectSilently(int index)
{
    if (index >= 0 && index < count()) {
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(index));
    } else {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
}

void ControlListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    // A click on an item selects it, also when it was selected already.
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) emit userSelected();
}

void ControlListBox::mouseMoveEvent(QMouseEvent* event)
{
    const int before = currentRow();
    QListWidget::mouseMoveEvent(event);
    if (currentRow() != before) emit userSelected();
}

void ControlListBox::keyPressEvent(QKeyEvent* event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) emit userSelected();
}

} // namespace lumo
