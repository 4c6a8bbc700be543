// The box of "Check Assignments": the findings of the four scenes, or that there are none.
#pragma once

#include <QStringList>

namespace lumo {

// Shown modally like the other message boxes: "Warning" with the findings (the first
// kShownFindings in the box, all of them under "Show Details..." when there are more), or
// "Information" when there are none.
void ShowAssignmentCheck(const QStringList& findings);

inline constexpr int kShownFindings = 15;

} // namespace lumo
