// Conflict outlines: one layer over all 45 labels, painted ring by ring.
#include "editor/conflict_outlines.h"

#include "editor/overlay_labels.h"
#include "scene/display_texts.h"

#include <QPainter>
#include <QRegion>

namespace lumo {

namespace {

const QColor kConflictRed(255, 0, 0);
constexpr int kFrameMargin = 1; // the selection frame lies one pixel around its label
constexpr int kOuterMargin = 3; // the outline's outer edge, around the label

} // namespace

ConflictOutlines::ConflictOutlines(QWidget* client)
    : QWidget(client)
{
    setObjectName(QStringLiteral("ConflictOutlines"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    QRect all;
    for (int i = 1; i <= kOverlayLabelCount; ++i)
        all |= OverlayLabelRect(i);
    setGeometry(all.adjusted(-kOuterMargin, -kOuterMargin, kOuterMargin, kOuterMargin));
    raise();
    show();
}

void ConflictOutlines::setControls(const std::vector<int>& controlIndexes)
{
    if (controlIndexes == m_controls) return;
    m_controls = controlIndexes;
    update();
}

void ConflictOutlines::paintEvent(QPaintEvent*)
{
    QRegion rings;
    for (int i : m_controls) {
        const QRect label = OverlayLabelRect(i).translated(-pos());
        rings += QRegion(label.adjusted(-kOuterMargin, -kOuterMargin, kOuterMargin, kOuterMargin))
                     .subtracted(QRegion(label.adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin)));
    }
    if (rings.isEmpty()) return;
    QPainter painter(this);
    painter.setClipRegion(rings);
    painter.fillRect(rect(), kConflictRed);
}

} // namespace lumo
