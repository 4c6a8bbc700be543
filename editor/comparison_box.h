// The box of "Compare With Controller": the settings in which the scenes here and the
// controller's differ, or that they agree.
#pragma once

#include <QStringList>

namespace lumo {

inline constexpr int kShownDifferences = 15;

// Shown modally like the other message boxes, "Information": the first kShownDifferences
// lines in the box and the rest under "Show Details...", or "The controller holds the same
// scenes." when there are none.
void ShowControllerComparison(const QStringList& differences);

} // namespace lumo
