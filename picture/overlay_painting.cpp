// Overlay labels: placement, colours, font fitting and painting.
#include "picture/overlay_painting.h"

#include <QFontMetrics>
#include <QPainter>

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

constexpr int kDrawnPadWidth = 54, kDrawnBlackKeyWidth = 28;
constexpr int kPixelSize = 14, kSmallestPixelSize = 7;
const QColor kLime(0, 255, 0);

bool isPad(int i) { return i >= 13 && i <= 20; }
bool isBlackKey(int i) { return i >= 21 && i <= 45 && kBlackKey[i - 21]; }

} // namespace

QRect OverlayLabelRect(int i)
{
    if (i >= 1 && i <= 4) return {kKnobLefts[i - 1], 139, 46, 36};
    if (i >= 5 && i <= 8) return {kKnobLefts[i - 5], 40, 46, 36};
    if (i >= 9 && i <= 12) return {kKnobLefts[i - 9], 96, 46, 36};
    if (isPad(i)) {
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
    if (isPad(i)) return false;
    if (i >= 21 && i <= 45) return isBlackKey(i);
    return true;
}

QColor OverlayLabelTextColour(int i)
{
    return OverlayLabelIsLime(i) ? kLime : QColor(Qt::black);
}

QMargins OverlayLabelMargins(int i)
{
    if (!isPad(i) && !isBlackKey(i)) return {};
    const int spare = OverlayLabelRect(i).width() - (isPad(i) ? kDrawnPadWidth : kDrawnBlackKeyWidth);
    return {spare / 2, 0, spare - spare / 2, 0};
}

QFont OverlayLabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kPixelSize);
    return font;
}

QFont FittedOverlayFont(const QRect& area, const QString& text)
{
    QFont fitted = OverlayLabelFont();
    for (int size = kPixelSize; size >= kSmallestPixelSize; --size) {
        fitted.setPixelSize(size);
        if (area.contains(QFontMetrics(fitted).boundingRect(area, kOverlayTextFlags, text))) break;
    }
    return fitted;
}

QString OverlayLabelText(const QString& overlayText)
{
    QString shown = overlayText;
    shown.replace(QChar(13), QChar(10));
    return shown;
}

void PaintOverlayLabel(QPainter& painter, int controlIndex, const QString& text, bool selected)
{
    const QRect whole(QPoint(0, 0), OverlayLabelRect(controlIndex).size());
    if (selected) painter.fillRect(whole, kSelectedLabelBackground);
    const QRect area = whole.marginsRemoved(OverlayLabelMargins(controlIndex));
    painter.setFont(FittedOverlayFont(area, text));
    painter.setPen(OverlayLabelTextColour(controlIndex));
    painter.drawText(area, kOverlayTextFlags, text);
}

} // namespace lumo
