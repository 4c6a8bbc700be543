// Window tests of "Undo" and "Redo": a typed value, a paste, "New" and a read are one step each, the
// state shown comes back with its scene and control, the items are enabled only with something
// to undo or redo, and the modified flag is clear again at the state last saved.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/control_area.h"
#include "editor/split_arrow_button.h"

#include <QTemporaryDir>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

constexpr int kKonb1 = 5, kKonb2 = 6, kKey1 = 21;

struct UndoItems {
    explicit UndoItems(const TFormMain& window)
        : undo(widgetNamed<QAction>(window, "Undo1"))
        , redo(widgetNamed<QAction>(window, "Redo1"))
    {
    }
    // "u" / "r" for an enabled item, "-" for a disabled one.
    QString state() const { return QString(undo->isEnabled() ? "u" : "-") + (redo->isEnabled() ? "r" : "-"); }
    QAction* undo;
    QAction* redo;
};

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT
private slots:
    void typedValueIsOneStepAndTheShortcutsWinOverTheField()
    {
        auto window = MakeWindow();
        const UndoItems items(*window);
        QCOMPARE(items.state(), "--");
        const SceneRecord& scene = window->document().current();
        const int original = scene.KonbCCNumber[0];
        const QString shown = QString::number(original);
        clickListItem(*window, kKonb1);
        auto* field = widgetNamed<QLineEdit>(*window, "EditKonbCCNumber");

        // Typing that ends where it began is nothing to undo, and Ctrl+Z then must not reach
        // the field's own undo either.
        typeInto(*window, "EditKonbCCNumber", "7");
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, shown);
        QCOMPARE(items.state(), "--");
        pressKeys(field, QKeySequence("Ctrl+Z"));
        QCOMPARE(field->text(), shown);

        // "99" is one step, undoable while the field still has the focus.
        typeInto(*window, "EditKonbCCNumber", "99");
        QCOMPARE(scene.KonbCCNumber[0], 99);
        QCOMPARE(items.state(), "u-");
        pressKeys(field, QKeySequence("Ctrl+Z"));
        QCOMPARE(scene.KonbCCNumber[0], original);
        QCOMPARE(field->text(), shown);
        QVERIFY(!window->document().modified()); // back at the state of start-up
        QCOMPARE(items.state(), "-r");

        QWidget* list = widgetNamed<QWidget>(*window, "ControlList");
        pressKeys(list, QKeySequence("Ctrl+Y"));
        QCOMPARE(scene.KonbCCNumber[0], 99);
        QCOMPARE(field->text(), QStringLiteral("99"));
        QVERIFY(window->document().modified());
        QCOMPARE(items.state(), "u-");

        // Undo goes back to the scene and control of the step, whatever is shown now.
        clickScene(*window, 2);
        pressKeys(list, QKeySequence("Ctrl+Z"));
        QCOMPARE(window->document().currentScene(), 1);
        QVERIFY(widgetNamed<QAbstractButton>(*window, "SceneButton1")->isChecked());
        QCOMPARE(window->controls().selectedIndex(), kKonb1);
        QCOMPARE(field->text(), shown);
        pressKeys(list, QKeySequence("Ctrl+Shift+Z"));
        QCOMPARE(scene.KonbCCNumber[0], 99);

        // In one field a click on its arrows is a step apart from the typing; a drop-down
        // choice is one too.
        const int upper = scene.KonbURValue[0];
        typeInto(*window, "EditKonbURValue", "50");
        auto* arrows = widgetNamed<QLineEdit>(*window, "EditKonbURValue")->findChild<SplitArrowButton*>();
        QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(2, 2));
        chooseItem(*window, "SelKonbEnable", 0);
        pressKeys(list, QKeySequence("Ctrl+Z"));
        QCOMPARE(scene.KonbEnable[0], 1);
        QCOMPARE(scene.KonbURValue[0], 51);
        pressKeys(list, QKeySequence("Ctrl+Z"));
        QCOMPARE(scene.KonbURValue[0], 50);
        pressKeys(list, QKeySequence("Ctrl+Z"));
        QCOMPARE(scene.KonbURValue[0], upper);
        QCOMPARE(scene.KonbCCNumber[0], 99);
    }

    void pasteAndNewAreStepsAndTheSavedStateClearsTheFlag()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        const UndoItems items(*window);
        Document& document = window->document();
        const SceneSet start = document.scenes();
        QWidget* list = widgetNamed<QWidget>(*window, "ControlList");
        auto* upperValue = widgetNamed<QLineEdit>(*window, "EditKonbURValue");

        clickListItem(*window, kKonb1);
        typeInto(*window, "EditKonbURValue", "90");
        leaveField(*window);
        pressKeys(list, QKeySequence("Ctrl+C"));
        clickListItem(*window, kKonb2);
        const QString knobTwoShown = upperValue->text();
        pressKeys(list, QKeySequence("Ctrl+V"));
        QCOMPARE(document.scenes().scene(1).KonbURValue[1], 90);
        const SceneSet pasted = document.scenes();

        ModalScript script;
        script.choose(dir.filePath("set.lumo"));
        pressKeys(list, QKeySequence("Ctrl+S"));
        QVERIFY(script.finished() && !document.modified());

        // "New" with scene 3 and a key shown: undone, the saved scenes come back with them.
        clickScene(*window, 3);
        clickListItem(*window, kKey1);
        pressKeys(list, QKeySequence("Ctrl+N"));
        QVERIFY(document.scenes() != pasted);
        pressKeys(list, QKeySequence("Ctrl+Z"));
        QVERIFY(document.scenes() == pasted);
        QVERIFY(!document.modified());
        QCOMPARE(document.currentScene(), 3);
        QCOMPARE(window->controls().selectedIndex(), kKey1);

        // Before the paste: knob 2 of scene 1 shown with its old value; not the saved state.
        pressKeys(list, QKeySequence("Ctrl+Z"));
        QCOMPARE(document.currentScene(), 1);
        QCOMPARE(window->controls().selectedIndex(), kKonb2);
        QCOMPARE(upperValue->text(), knobTwoShown);
        QVERIFY(document.modified());
        pressKeys(list, QKeySequence("Ctrl+Y"));
        QVERIFY(document.scenes() == pasted);
        QVERIFY(!document.modified());

        // Three steps in all: the typed value, the paste and "New"; the refills made none.
        pressKeys(list, QKeySequence("Ctrl+Y"));
        QCOMPARE(items.state(), "u-");
        for (int step = 0; step < 3; ++step)
            pressKeys(list, QKeySequence("Ctrl+Z"));
        QVERIFY(document.scenes() == start);
        QCOMPARE(items.state(), "-r");
        QVERIFY(document.modified());
    }

    void aReadIsOneStepToAStateMarkedClean()
    {
        SceneSet deviceScenes;
        SetSceneName(deviceScenes.scene(2), "ON DEVICE");
        SimulatedController device(deviceScenes);
        auto window = MakeWindow(&device.ports);
        Document& document = window->document();
        const SceneSet start = document.scenes();
        QWidget* list = widgetNamed<QWidget>(*window, "ControlList");
        ModalScript script;
        script.press("Yes").press("OK");
        pressKeys(list, QKeySequence("Ctrl+L"));
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(QByteArray(SceneName(document.scenes().scene(2)).c_str()), QByteArray("ON DEVICE"));
        const SceneSet read = document.scenes();

        pressKeys(list, QKeySequence("Ctrl+Z"));
        QVERIFY(document.scenes() == start);
        QVERIFY(document.modified());
        pressKeys(list, QKeySequence("Ctrl+Y"));
        QVERIFY(document.scenes() == read);
        QVERIFY(!document.modified());
    }
};

QTEST_MAIN(TestUndoRedo)
#include "tst_undo_redo.moc"
