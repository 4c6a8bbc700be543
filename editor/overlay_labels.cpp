// Overlay labels as widgets: clicks, highlight and the selection frame.
#include "editor/overlay_labels.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>

namespace lumo {

OverlayLabel::OverlayLabel(int controlIndex, QWidget* parent)
    : QLabel(parent)
    , m_controlIndex(controlIndex)
{
    setObjectName(QStringLiteral("Label%1").arg(kFirstLabelNumber + controlIndex));
    setGeometry(OverlayLabelRect(controlIndex));
    setContentsMargins(OverlayLabelMargins(controlIndex));
    setFont(OverlayLabelFont());
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSelectedLabelBackground);
    pal.setColor(QPalette::WindowText, OverlayLabelTextColour(controlIndex));
    setPalette(pal);
    setAutoFillBackground(false);
}

void OverlayLabel::setSelectedLook(bool selected)
{
    setAutoFillBackground(selected);
    update();
}

void OverlayLabel::showText(const QString& text)
{
    if (text != this->text()) setText(text);
    const QFont fitted = FittedOverlayFont(contentsRect(), text);
    if (fitted != font()) setFont(fitted);
}

void OverlayLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The selected background is the widget's own fill (autoFillBackground).
    PaintOverlayLabel(painter, m_controlIndex, text(), false);
}

void OverlayLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

OverlayLabels::OverlayLabels(QWidget* client)
    : m_frame(new QFrame(client))
{
    m_frame->setObjectName(QStringLiteral("SelectFrame"));
    m_frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_frame->setLineWidth(1);
    m_frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_frame->setGeometry(kOffWindowLeft, 0, 10, 10);
    for (int i = 1; i <= kOverlayLabelCount; ++i)
        m_labels[i - 1] = new OverlayLabel(i, client);
}

void OverlayLabels::setTexts(const std::array<std::optional<QString>, kOverlayLabelCount>& texts)
{
    for (int k = 0; k < kOverlayLabelCount; ++k) {
        if (!texts[k]) continue;
        m_labels[k]->showText(OverlayLabelText(*texts[k]));
    }
}

void OverlayLabels::placeFrame(const OverlayLabel* label, bool offWindow)
{
    const QRect r = label->geometry();
    m_frame->hide();
    m_frame->setGeometry(offWindow ? kOffWindowLeft : r.left() - 1, r.top() - 1, r.width() + 2, r.height() + 2);
    m_frame->show();
}

void OverlayLabels::moveFrameOffWindow()
{
    m_frame->move(kOffWindowLeft, m_frame->y());
}

} // namespace lumo
