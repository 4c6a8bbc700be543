// The corners are quarter ellipses whose width is a quarter of the shorter side (radius 26 px
// for the 742 x 209 shape of the main window).
#include "editor/round_rect_shape.h"

#include <QPainter>

#include <algorithm>

namespace lumo {

RoundRectShape::RoundRectShape(const QColor& fill, QWidget* parent)
    : QWidget(parent)
    , m_fill(fill)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RoundRectShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_fill);
    const qreal radius = std::min(width(), height()) / 8.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

} // namespace lumo
