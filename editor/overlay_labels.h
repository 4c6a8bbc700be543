// The 45 clickable overlay labels over the controller picture (Label31 .. Label75) and the
// raised selection frame around the selected one.
#pragma once

#include "picture/overlay_painting.h"
#include "scene/display_texts.h"

#include <QLabel>
#include <QRect>

#include <array>

class QFrame;

namespace lumo {

class OverlayLabel : public QLabel {
    Q_OBJECT
public:
    OverlayLabel(int controlIndex, QWidget* parent);

    int controlIndex() const { return m_controlIndex; }
    // Opaque on RGB(0, 128, 255) while selected, transparent otherwise.
    void setSelectedLook(bool selected);
    bool selectedLook() const { return autoFillBackground(); }
    // Sets the text in the font that FittedOverlayFont gives for the label's contents
    // rectangle (for pads and black keys the width drawn in the picture).
    void showText(const QString& text);

signals:
    void clicked();

protected:
    // Painted as the exported pictures paint the label (PaintOverlayLabel).
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_controlIndex;
};

class OverlayLabels {
public:
    // Creates the frame first and the labels above it, all children of `client`.
    explicit OverlayLabels(QWidget* client);

    OverlayLabel* label(int controlIndex) const { return m_labels[controlIndex - 1]; }
    QFrame* frame() const { return m_frame; }

    // Writes the texts; a label whose entry is nullopt keeps its text. A carriage return
    // starts a second line.
    void setTexts(const std::array<std::optional<QString>, kOverlayLabelCount>& texts);
    // The frame one pixel around `label`, or with its left edge at -100 when `offWindow`.
    void placeFrame(const OverlayLabel* label, bool offWindow);
    void moveFrameOffWindow();

    static constexpr int kOffWindowLeft = -100;

private:
    QFrame* m_frame;
    std::array<OverlayLabel*, kOverlayLabelCount> m_labels{};
};

} // namespace lumo
