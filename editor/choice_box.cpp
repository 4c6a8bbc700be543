// Drop-down list that reports user choices only.
#include "editor/choice_box.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

#include <algorithm>

namespace lumo {

namespace {
constexpr int kSmallestPixelSize = 8;
} // namespace

ChoiceBox::ChoiceBox(const QStringList& items, QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    // The default WheelFocus would let the wheel take the focus and the value at once.
    setFocusPolicy(Qt::StrongFocus);
    addItems(items);
    setMaxVisibleItems(static_cast<int>(items.size()));
    // activated is emitted for user choices only, never for setCurrentIndex.
    connect(this, &QComboBox::activated, this, &ChoiceBox::userChanged);
}

void ChoiceBox::showPopup()
{
    // An item's text sits between the view's focus-frame margins (Qt's item delegate).
    QAbstractItemView* list = view();
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    list->setMinimumWidth(std::max(list->sizeHintForColumn(0), widest + margins) + 2 * list->frameWidth());
    QComboBox::showPopup();
}

QFont ChoiceBox::shownItemFont() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The label is drawn one pixel inside the edit field on each side.
    const int room = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this).width() - 2;
    QFont shown = font();
    const QString text = currentText();
    int size = QFontInfo(shown).pixelSize();
    while (size > kSmallestPixelSize && QFontMetrics(shown).horizontalAdvance(text) > room)
        shown.setPixelSize(--size);
    return shown;
}

void ChoiceBox::paintEvent(QPaintEvent*)
{
    // QComboBox's own painting, with the label in shownItemFont.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.setFont(shownItemFont());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ChoiceBox::wheelEvent(QWheelEvent* event)
{
    // A pointer merely passing over the box with the wheel turning must not change the value;
    // the event goes on to the parent instead.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void ChoiceBox::setIndex(std::int64_t index)
{
    setCurrentIndex(index >= 0 && index < count() ? static_cast<int>(index) : -1);
}

} // namespace lumo
