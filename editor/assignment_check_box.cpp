// "Check Assignments" box.
#include "editor/assignment_check_box.h"

#include "editor/message_boxes.h"

#include <QCoreApplication>
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
        box.setText(QCoreApplication::translate("AssignmentCheckBox",
                                                "No conflicts: in all four scenes every enabled control "
                                                "sends a message of its own, on a number and channel that "
                                                "MIDI can carry."));
    } else {
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(MessageTitle(MessageKind::Warning));
        QString text = findings.size() == 1
            ? QCoreApplication::translate("AssignmentCheckBox", "1 finding in the four scenes:\n")
            : QCoreApplication::translate("AssignmentCheckBox", "%1 findings in the four scenes:\n").arg(findings.size());
        text += findings.mid(0, kShownFindings).join(QLatin1Char('\n'));
        // A box taller than the screen would hide its own OK button.
        if (findings.size() > kShownFindings) {
            text += QCoreApplication::translate("AssignmentCheckBox", "\n... and %1 more (Show Details...)").arg(findings.size() - kShownFindings);
            box.setDetailedText(findings.join(QLatin1Char('\n')));
        }
        box.setText(text);
    }
    box.addButton(QCoreApplication::translate("MessageBoxes", "OK"), QMessageBox::AcceptRole)->setObjectName(QStringLiteral("OK"));
    box.exec();
}

} // namespace lumo
