// Checking a send: the scene image sent against the one read back, as one line per differing
// setting, and the window's Warning text made of those lines.
#pragma once

#include "device/device_link.h"

#include <QString>
#include <QStringList>

namespace lumo {

inline constexpr int kWarningDifferenceLines = 10;

// Every setting whose bytes differ in the 916-byte images, scenes 1 to 4 and within a scene in
// image order: "scene 2, Konb-1, KonbCCNumber: sent 74, read 75", the control as the control
// list names it, the values as the bytes stored. The 12 name bytes are one setting, shown as
// text: "scene 1, Common, SceneName: sent \"Lead\", read \"Leaf\"". Empty when the images agree.
QStringList SceneImageDifferences(const ImageBuffer& sent, const ImageBuffer& readBack);

// The Warning after a send whose read-back differs: a heading, the first 10 lines, and
// "... and 5 more differences." for the rest.
QString VerificationWarningText(const QStringList& differences);

} // namespace lumo
