// "Check Assignments" box.
#include "editor/assignment_check_box.h"

#include "editor/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace lumo {

void ShowAssignmentCheck(const QStringList& findings)
{
    QMessageBox box;
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    if (findings.isEmpty()) {
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(MessageTitle(MessageKind::Information));
        box.setText(QStringLiteral("No conflicts: in all four scenes every enabled control sends a message of "
                                   "its own, on a number and channel that MIDI can carry."));
    } else {
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(MessageTitle(MessageKind::Warning));
        QString text = findings.size() == 1 ? QStringLiteral("1 finding in the four scenes:\n")
                                            : QStringLiteral("%1 findings in the four scenes:\n").arg(findings.size());
        text += findings.mid(0, kShownFindings).join(QLatin1Char('\n'));
        // A box taller than the screen would hide its own OK button.
        if (findings.size() > kShownFindings) {
            text += QStringLiteral("\n... and %1 more (Show Details...)").arg(findings.size() - kShownFindings);
            box.setDetailedText(findings.join(QLatin1Char('\n')));
        }
        box.setText(text);
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole)->setObjectName(QStringLiteral("OK"));
    box.exec();
}

} // namespace lumo
