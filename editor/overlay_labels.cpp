// Overlay labels: placement, colours, highlight and frame.
#include "editor/overlay_labels.h"

#include <QFrame>
#include <QMouseEvent>

namespace lumo {

namespace {

constexpr int kKnobLefts[4] = {168, 226, 285, 343};
constexpr int kPadLefts[4] = {404, 488, 573, 658};
constexpr int kPadWidths[4] = {65, 66, 66, 65};
constexpr int kKeyLefts[25] = {71,  88,  114, 139, 158, 201, 217, 244, 265, 288, 314, 331, 375,
                               393, 418, 443, 462, 505, 521, 549, 570, 592, 619, 635, 679};
// Keys 1..25 of a C-to-C keyboard; true for the black keys 2, 4, 7, 9, 11, 14, ...
constexpr bool kBlackKey[25] = {false, true,  false, true,  false, false, true, false, true,
                                false, true,  false, false, true,  false, true, false, false,
                                true,  false, true,  false, true,  false, false};

// The labels of pads and black keys are wider than the pad or key drawn under them in the
// controller picture; their text keeps to the drawn width so that it stays on its control.
constexpr int kDrawnPadWidth = 54, kDrawnBlackKeyWidth = 28;
constexpr int kPixelSize = 14, kSmallestPixelSize = 7;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
const QColor kSelectedBackground(0, 128, 255);
const QColor kLime(0, 255, 0);

} // namespace

QRect OverlayLabelRect(int i)
{
    if (i >= 1 && i <= 4) return {kKnobLefts[i - 1], 139, 46, 36};
    if (i >= 5 && i <= 8) return {kKnobLefts[i - 5], 40, 46, 36};
    if (i >= 9 && i <= 12) return {kKnobLefts[i - 9], 96, 46, 36};
    if (i >= 13 && i <= 20) {
        const int e = i - 13;
        return {kPadLefts[e % 4], e < 4 ? 43 : 104, kPadWidths[e % 4], 46};
    }
    if (i >= 21 && i <= 45) {
        const int e = i - 21;
        return kBlackKey[e] ? QRect(kKeyLefts[e], 202, 42, 48) : QRect(kKeyLefts[e], 279, 39, 49);
    }
    return {};
}

bool OverlayLabelIsLime(int i)
{
    if (i >= 13 && i <= 20) return false;
    if (i >= 21 && i <= 45) return kBlackKey[i - 21];
    return true;
}

OverlayLabel::OverlayLabel(int controlIndex, QWidget* parent)
    : QLabel(parent)
    , m_controlIndex(controlIndex)
{
    setObjectName(QStringLiteral("Label%1").arg(kFirstLabelNumber + controlIndex));
    setGeometry(OverlayLabelRect(controlIndex));
    const bool pad = controlIndex >= 13 && controlIndex <= 20;
    const bool blackKey = controlIndex >= 21 && OverlayLabelIsLime(controlIndex);
    if (pad || blackKey) {
        const int spare = width() - (pad ? kDrawnPadWidth : kDrawnBlackKeyWidth);
        setContentsMargins(spare / 2, 0, spare - spare / 2, 0);
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kPixelSize);
    setFont(font);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSelectedBackground);
    pal.setColor(QPalette::WindowText, OverlayLabelIsLime(controlIndex) ? kLime : QColor(Qt::black));
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
    // The fitted size depends on the text alone: every refresh rewrites all 45 labels.
    if (m_fitted && text == this->text()) return;
    m_fitted = true;
    if (text != this->text()) setText(text);
    const QRect area = contentsRect();
    QFont fitted = font();
    for (int size = kPixelSize; size >= kSmallestPixelSize; --size) {
        fitted.setPixelSize(size);
        if (area.contains(QFontMetrics(fitted).boundingRect(area, kTextFlags, text))) break;
    }
    if (fitted != font()) setFont(fitted);
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
        QString shown = *texts[k];
        shown.replace(QChar(13), QChar(10));
        m_labels[k]->showText(shown);
        // A screen reader says the control and what its label shows: "Konb-1: CC# 20".
        const QString name = ControlListItems().at(k + 1) + QStringLiteral(": ") + QString(shown).replace(QChar(10), QChar(32));
        if (m_labels[k]->accessibleName() != name) m_labels[k]->setAccessibleName(name);
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
