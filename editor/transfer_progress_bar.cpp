// No border: the bar fills its whole 697 x 16 rectangle.
#include "editor/transfer_progress_bar.h"

#include <QPainter>

namespace lumo {

TransferProgressBar::TransferProgressBar(const QColor& barColour, QWidget* parent)
    : QProgressBar(parent)
    , m_barColour(barColour)
{
    setRange(0, 100);
    setValue(0);
}

void TransferProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect whole = rect();
    const int span = maximum() - minimum();
    const int filledWidth = span > 0 ? whole.width() * (value() - minimum()) / span : 0;
    const QRect filled(whole.left(), whole.top(), filledWidth, whole.height());
    const QRect empty(whole.left() + filledWidth, whole.top(), whole.width() - filledWidth, whole.height());
    painter.fillRect(empty, Qt::white);
    painter.fillRect(filled, m_barColour);

    const QString shown = text();
    painter.setFont(font());
    painter.setClipRect(empty);
    painter.setPen(m_barColour);
    painter.drawText(whole, Qt::AlignCenter, shown);
    painter.setClipRect(filled);
    painter.setPen(Qt::white);
    painter.drawText(whole, Qt::AlignCenter, shown);
}

} // namespace lumo
