// Window tests of the assignment check: the red outline around conflicting labels of the
// current scene follows every change and leaves the labels themselves alone; "Check
// Assignments" (Ctrl+K, also from a text field) lists the findings of all four scenes.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/conflict_outlines.h"
#include "editor/overlay_labels.h"

using namespace lumo;
using namespace lumo::window_testing;

namespace {

constexpr int kKonb1 = 5, kKonb2 = 6;
const QRgb kRed = qRgb(255, 0, 0);

// A pixel of the client area as drawn on screen, with every layer.
QRgb clientPixel(const TFormMain& window, QPoint at)
{
    return window.client()->grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0);
}

// Konb-1's label with the selection frame's ring: what the outline must never paint over.
QImage konb1Label(const TFormMain& window)
{
    return window.client()->grab(OverlayLabelRect(kKonb1).adjusted(-1, -1, 1, 1)).toImage();
}

} // namespace

class TestAssignmentCheck : public QObject {
    Q_OBJECT
private slots:
    void outlineAppearsAndGoesWithEveryChange()
    {
        auto window = MakeWindow();
        auto* outlines = widgetNamed<ConflictOutlines>(*window, "ConflictOutlines");
        const QRect konb1 = OverlayLabelRect(kKonb1);
        const QPoint ring(konb1.left() - 3, konb1.center().y());
        QVERIFY(outlines->controls().empty());
        const QRgb before = clientPixel(*window, ring);
        const QImage labelBefore = konb1Label(*window);

        clickListItem(*window, kKonb2);
        typeInto(*window, "EditKonbCCNumber", "20"); // "2", then "20": the conflict
        QCOMPARE(outlines->controls(), (std::vector<int>{kKonb1, kKonb2}));
        QCOMPARE(clientPixel(*window, ring), kRed);
        QCOMPARE(clientPixel(*window, ring + QPoint(1, 0)), kRed);
        QCOMPARE(konb1Label(*window), labelBefore);

        // Only the current scene's conflicts are outlined.
        clickScene(*window, 2);
        QVERIFY(outlines->controls().empty());
        QCOMPARE(clientPixel(*window, ring), before);
        clickScene(*window, 1);
        QCOMPARE(outlines->controls(), (std::vector<int>{kKonb1, kKonb2}));

        clickListItem(*window, kKonb2);
        chooseItem(*window, "SelKonbEnable", 0); // "Disable"
        QVERIFY(outlines->controls().empty());
        QCOMPARE(clientPixel(*window, ring), before);
        QCOMPARE(konb1Label(*window), labelBefore);
    }

    void checkAssignmentsListsEveryScene()
    {
        auto window = MakeWindow();
        window->document().scenes().scene(3).KonbCCNumber[1] = 20;
        ModalScript script;
        script.press("OK").press("OK").press("OK");

        // From the scene name field, where a text field would take Ctrl+K for itself.
        auto* name = widgetNamed<QLineEdit>(*window, "EditSceneName");
        name->setFocus();
        name->setCursorPosition(0);
        pressKeys(name, QKeySequence("Ctrl+K"));
        QCOMPARE(name->text(), QStringLiteral("SCENE1"));
        QTRY_COMPARE(script.boxes.size(), 1);
        QCOMPARE(script.boxes[0].title, QStringLiteral("Warning"));
        QCOMPARE(script.boxes[0].text, QStringLiteral("1 finding in the four scenes:\n"
                                                      "scene 3: Konb-1 and Konb-2 both send CC 20 on channel 1"));

        // More findings than the box shows: the rest under its details.
        for (int key = 0; key < kKeyCount; ++key) {
            window->document().scenes().scene(4).KeyAssignType[key] = 1;
            window->document().scenes().scene(4).KeyCCNumber[key] = 1;
        }
        pressKeys(window->client(), QKeySequence("Ctrl+K"));
        QTRY_COMPARE(script.boxes.size(), 2);
        QVERIFY(script.boxes[1].text.startsWith("25 findings in the four scenes:\nscene 3: "));
        QVERIFY(script.boxes[1].text.endsWith("\n... and 10 more (Show Details...)"));

        window->document().scenes().scene(3).KonbCCNumber[1] = 21;
        for (int key = 0; key < kKeyCount; ++key)
            window->document().scenes().scene(4).KeyAssignType[key] = 0;
        pressKeys(window->client(), QKeySequence("Ctrl+K"));
        QTRY_COMPARE(script.boxes.size(), 3);
        QCOMPARE(script.boxes[2].title, QStringLiteral("Information"));
        QVERIFY(script.boxes[2].text.startsWith("No conflicts"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(!window->document().modified());
    }
};

QTEST_MAIN(TestAssignmentCheck)
#include "tst_assignment_check.moc"
