// How an overlay label looks: its place over the controller picture, its colours, the font its
// text fits in, and its painting. The window's labels and the exported pictures paint by it.
#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QRect>
#include <QString>

class QPainter;

namespace lumo {

// Geometry of the label of Control Index 1..45, in client coordinates of the main window.
QRect OverlayLabelRect(int controlIndex);
// Lime text (groups, knobs, sliders, black keys), else black.
bool OverlayLabelIsLime(int controlIndex);
QColor OverlayLabelTextColour(int controlIndex);
inline const QColor kSelectedLabelBackground(0, 128, 255);
// The labels of pads and black keys are wider than the pad or key drawn under them in the
// controller picture; their text keeps to the drawn width so that it stays on its control.
QMargins OverlayLabelMargins(int controlIndex);
// Arial, 14 px.
QFont OverlayLabelFont();
inline constexpr int kOverlayTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
// The largest size of OverlayLabelFont, down to 7 px, in which `text` fits `area` wrapped at
// word boundaries, so that no text paints beyond it.
QFont FittedOverlayFont(const QRect& area, const QString& text);
// An overlay text as a label shows it: its carriage return starts the second line.
QString OverlayLabelText(const QString& overlayText);

// Paints the label of `controlIndex` showing `text` (as OverlayLabelText gives it) with its
// top-left corner at the painter's origin: the selected background when `selected`, then the
// text in its colour and fitted font.
void PaintOverlayLabel(QPainter& painter, int controlIndex, const QString& text, bool selected);

} // namespace lumo
