// "Compare With Controller" box.
#include "editor/comparison_box.h"

#include "app/controller_compare.h"
#include "editor/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace lumo {

void ShowControllerComparison(const QStringList& differences)
{
    QMessageBox box;
    box.setObjectName(QStringLiteral("ComparisonBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(MessageTitle(MessageKind::Information));
    if (differences.isEmpty()) {
        box.setText(QCoreApplication::translate("ControllerCompare", kSameScenesText.toUtf8().constData()));
    } else {
        QString text = differences.size() == 1
            ? QCoreApplication::translate("ComparisonBox", "1 setting differs (here -> in the controller):\n")
            : QCoreApplication::translate("ComparisonBox", "%1 settings differ (here -> in the controller):\n").arg(differences.size());
        text += differences.mid(0, kShownDifferences).join(QLatin1Char('\n'));
        // A box taller than the screen would hide its own OK button.
        if (differences.size() > kShownDifferences) {
            text += QCoreApplication::translate("ComparisonBox", "\n... and %1 more (Show Details...)").arg(differences.size() - kShownDifferences);
            box.setDetailedText(differences.mid(kShownDifferences).join(QLatin1Char('\n')));
        }
        box.setText(text);
    }
    box.addButton(QCoreApplication::translate("MessageBoxes", "OK"), QMessageBox::AcceptRole)->setObjectName(QStringLiteral("OK"));
    box.exec();
}

} // namespace lumo
