// Diagonal split arrow button with press-and-hold repeat (first repeat 400 ms, then 100 ms).
#include "editor/split_arrow_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

namespace lumo {

SplitArrowButton::SplitArrowButton(QWidget* parent)
    : QWidget(parent)
    , m_repeat(this)
{
    m_repeat.setObjectName(QStringLiteral("RepeatTimer"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &SplitArrowButton::repeat);
}

int SplitArrowButton::stepAt(const QPoint& p) const
{
    // The diagonal runs from (0, h) to (w, 0): points with y * w + x * h < w * h lie above it.
    const qint64 w = width(), h = height();
    return qint64{p.y()} * w + qint64{p.x()} * h < w * h ? 1 : -1;
}

void SplitArrowButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_heldStep = stepAt(event->position().toPoint());
    emit pressed();
    update();
    m_repeat.start(kFirstRepeatMs);
    emit stepped(m_heldStep);
}

void SplitArrowButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_heldStep != 0) {
        m_repeat.stop();
        m_heldStep = 0;
        update();
        emit released();
    }
    QWidget::mouseReleaseEvent(event);
}

void SplitArrowButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_repeat.stop();
        m_heldStep = 0;
    }
    QWidget::changeEvent(event);
}

void SplitArrowButton::repeat()
{
    if (m_heldStep == 0) {
        m_repeat.stop();
        return;
    }
    m_repeat.setInterval(kRepeatMs);
    emit stepped(m_heldStep);
}

void SplitArrowButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const QColor sunken = face.darker(115);

    QPainterPath upper;
    upper.moveTo(r.topLeft());
    upper.lineTo(r.topRight());
    upper.lineTo(r.bottomLeft());
    upper.closeSubpath();
    QPainterPath lower;
    lower.moveTo(r.topRight());
    lower.lineTo(r.bottomRight());
    lower.lineTo(r.bottomLeft());
    lower.closeSubpath();
    painter.fillPath(upper, m_heldStep > 0 ? sunken : face);
    painter.fillPath(lower, m_heldStep < 0 ? sunken : face);

    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(r);
    painter.drawLine(r.bottomLeft(), r.topRight());

    // Small triangles: up in the upper-left half, down in the lower-right half.
    const QColor arrow = isEnabled() ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Disabled, QPalette::ButtonText);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(arrow);
    const qreal w = r.width(), h = r.height();
    const qreal s = std::min(w, h) * 0.22;
    const QPointF up(r.left() + w * 0.3, r.top() + h * 0.3);
    const QPointF down(r.left() + w * 0.7, r.top() + h * 0.7);
    painter.drawPolygon(QPolygonF{QPointF(up.x() - s, up.y() + s * 0.6), QPointF(up.x() + s, up.y() + s * 0.6),
                                  QPointF(up.x(), up.y() - s * 0.6)});
    painter.drawPolygon(QPolygonF{QPointF(down.x() - s, down.y() - s * 0.6), QPointF(down.x() + s, down.y() - s * 0.6),
                                  QPointF(down.x(), down.y() + s * 0.6)});
}

} // namespace lumo
