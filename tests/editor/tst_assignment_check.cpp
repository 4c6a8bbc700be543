// Window tests of the assignment check: the red outline of conflicting labels in the current
// scene follows every change and leaves the labels alone; "Check Assignments" (Ctrl+K, also
// from a text field) lists the findings of all four scenes.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/conflict_outlines.h"
#include "editor/overlay_labels.h"

using namespace lumo;
using namespace lumo::window_testing;

class TestAssignmentCheck : public QObject {
    Q_OBJECT
private slots:
    void outlineAppearsAndGoesWithEveryChange()
    {
        auto window = MakeWindow();
        auto* outlines = widgetNamed<ConflictOutlines>(*window, "ConflictOutlines");
        const QRect konb1 = OverlayLabelRect(5);
        // The screen as drawn: a pixel of the outline's ring, and Konb-1's label with its frame.
        auto ring = [&] { return window->client()->grab(QRect(konb1.left() - 3, konb1.center().y(), 2, 1)).toImage(); };
        auto label = [&] { return window->client()->grab(konb1.adjusted(-1, -1, 1, 1)).toImage(); };
        const QImage ringBefore = ring();
        const QImage labelBefore = label();

        clickListItem(*window, 6);
        typeInto(*window, "EditKonbCCNumber", "20"); // "2", then "20": Konb-1's CC
        QCOMPARE(outlines->controls(), (std::vector<int>{5, 6}));
        QCOMPARE(ring().pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(ring().pixel(1, 0), qRgb(255, 0, 0));
        QCOMPARE(label(), labelBefore);

        clickScene(*window, 2);
        QVERIFY(outlines->controls().empty());
        QCOMPARE(ring(), ringBefore);
        clickScene(*window, 1);
        QCOMPARE(outlines->controls(), (std::vector<int>{5, 6}));
        clickListItem(*window, 6);
        chooseItem(*window, "SelKonbEnable", 0); // "Disable"
        QVERIFY(outlines->controls().empty());
        QCOMPARE(ring(), ringBefore);
        QCOMPARE(label(), labelBefore);
    }

    void checkAssignmentsListsEveryScene()
    {
        auto window = MakeWindow();
        window->document().edit([](SceneSet& scenes) { scenes.scene(3).KonbCCNumber[1] = 20; });
        ModalScript script;
        script.press("OK").press("OK").press("OK");

        // A text field would take Ctrl+K (delete to the end) for itself; a number typed out of
        // range is clamped before the check.
        clickListItem(*window, 5);
        typeInto(*window, "EditKonbCCNumber", "200");
        auto* field = widgetNamed<QLineEdit>(*window, "EditKonbCCNumber");
        field->setCursorPosition(0);
        pressKeys(field, QKeySequence("Ctrl+K"));
        QCOMPARE(field->text(), QStringLiteral("127"));
        QCOMPARE(script.boxes.value(0).title, QStringLiteral("Warning"));
        QCOMPARE(script.boxes.value(0).text, QStringLiteral("1 finding in the four scenes:\n"
                                                            "scene 3: Konb-1 and Konb-2 both send CC 20 on channel 1"));

        // More findings than fit on a screen: the rest under the details.
        window->document().edit([](SceneSet& scenes) {
            for (int key = 0; key < kKeyCount; ++key)
                scenes.scene(4).KeyAssignType[key] = 1, scenes.scene(4).KeyCCNumber[key] = 1;
        });
        window->document().markClean();
        pressKeys(window->client(), QKeySequence("Ctrl+K"));
        QVERIFY(script.boxes.value(1).text.startsWith("25 findings in the four scenes:\nscene 3: "));
        QVERIFY(script.boxes.value(1).text.endsWith("\n... and 10 more (Show Details...)"));

        window->document().edit([](SceneSet& scenes) {
            scenes.scene(3).KonbCCNumber[1] = 21;
            for (int key = 0; key < kKeyCount; ++key)
                scenes.scene(4).KeyAssignType[key] = 0;
        });
        window->document().markClean();
        pressKeys(window->client(), QKeySequence("Ctrl+K"));
        QCOMPARE(script.boxes.value(2).title, QStringLiteral("Information"));
        QVERIFY(script.boxes.value(2).text.startsWith("No conflicts"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(!window->document().modified());
    }
};

QTEST_MAIN(TestAssignmentCheck)
#include "tst_assignment_check.moc"
