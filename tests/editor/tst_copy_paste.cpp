// Window tests of "Copy" and "Paste" in the main window: only a control of the copied kind
// takes a paste, across scenes, with all of its fields; nothing before the first copy; the
// shortcuts from inside a text field; the modified flag set by a paste that changes the scene;
// "Copy Scene" and "Paste Scene" across Open, as one undo step.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/control_area.h"
#include "scene/scene_file.h"

#include <QClipboard>
#include <QLabel>
#include <QTemporaryDir>

#include <cstring>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

constexpr int kKonb2 = 6, kKonb4 = 8, kSlider2 = 10, kPad1 = 13, kPad2 = 14, kPad6 = 18, kKey3 = 23;

// Counts the runs of the Copy and Paste commands.
struct CommandRuns {
    explicit CommandRuns(TFormMain& window)
    {
        QObject::connect(widgetNamed<QAction>(window, "Copy1"), &QAction::triggered, [this] { ++copies; });
        QObject::connect(widgetNamed<QAction>(window, "Peast1"), &QAction::triggered, [this] { ++pastes; });
    }
    int copies = 0;
    int pastes = 0;
};

QWidget* list(const TFormMain& window)
{
    return widgetNamed<QWidget>(window, "ControlList");
}

} // namespace

class TestCopyPaste : public QObject {
    Q_OBJECT
private slots:
    void knobOntoSliderDoesNothing()
    {
        auto window = MakeWindow();
        const SceneRecord& scene = window->document().current();
        clickListItem(*window, kKonb2);
        pressKeys(list(*window), QKeySequence("Ctrl+C"));

        // The slider's field holds a typed out-of-range number: a refill would show 127.
        clickListItem(*window, kSlider2);
        typeInto(*window, "EditKonbCCNumber", "200");
        const SceneSet before = window->document().scenes();
        pressKeys(widgetNamed<QWidget>(*window, "EditKonbCCNumber"), QKeySequence("Ctrl+V"));
        QVERIFY(window->document().scenes() == before);
        QCOMPARE(scene.SliderCCNumber[1], 200);
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditKonbCCNumber")->text(), QStringLiteral("200"));

        // The same copy onto another knob takes.
        clickListItem(*window, kKonb4);
        pressKeys(list(*window), QKeySequence("Ctrl+V"));
        QCOMPARE(scene.KonbCCNumber[3], scene.KonbCCNumber[1]);
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditKonbCCNumber")->text(), QString::number(scene.KonbCCNumber[1]));
    }

    void padOfSceneOneOntoPadSixOfSceneThree()
    {
        auto window = MakeWindow();
        clickListItem(*window, kPad1);
        chooseItem(*window, "SelPadAssignType", 1); // "Control Change"
        typeInto(*window, "EditPadCCNumber", "45");
        typeInto(*window, "EditPadONValue", "100");
        typeInto(*window, "EditPadOFFValue", "7");
        chooseItem(*window, "SelPadBehavior", 1);  // "Toggle"
        chooseItem(*window, "SelPadMIDICh", 11);   // "12"
        clickListItem(*window, kPad1);
        pressKeys(list(*window), QKeySequence("Ctrl+C"));
        // The buffer keeps the values of the moment of the copy.
        typeInto(*window, "EditPadCCNumber", "50");

        SceneSet expected = window->document().scenes();
        clickScene(*window, 3);
        clickListItem(*window, kPad6);
        pressKeys(list(*window), QKeySequence("Ctrl+V"));

        SceneRecord& pad6 = expected.scene(3);
        pad6.PadAssignType[5] = 1;
        pad6.PadCCNumber[5] = 45;
        pad6.PadONValue[5] = 100;
        pad6.PadOFFValue[5] = 7;
        pad6.PadBehavior[5] = 1;
        pad6.PadMIDICh[5] = 11;
        QVERIFY(window->document().scenes() == expected);
        QCOMPARE(window->document().scenes().scene(1).PadCCNumber[0], 50);
        // Redisplayed: the panel shows the pasted pad with the "Control Change" enabling.
        QCOMPARE(widgetNamed<QComboBox>(*window, "SelPadAssignType")->currentText(), QStringLiteral("Control Change"));
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditPadCCNumber")->text(), QStringLiteral("45"));
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditPadONValue")->text(), QStringLiteral("100"));
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditPadOFFValue")->text(), QStringLiteral("7"));
        QVERIFY(widgetNamed<QLineEdit>(*window, "EditPadONValue")->isEnabled());
        QCOMPARE(widgetNamed<QComboBox>(*window, "SelPadBehavior")->currentText(), QStringLiteral("Toggle"));
        QCOMPARE(widgetNamed<QComboBox>(*window, "SelPadMIDICh")->currentText(), QStringLiteral("12"));
        QCOMPARE(window->controls().selectedIndex(), kPad6);
        const QString label = window->findChild<QLabel*>("Label48")->text();
        QVERIFY2(label.startsWith(QStringLiteral("CC#")) && label.endsWith(QStringLiteral("45")), qPrintable(label));
    }

    void pasteRightAfterStartDoesNothing()
    {
        auto window = MakeWindow();
        CommandRuns runs(*window);
        for (const int target : {0, kKey3, kPad2}) {
            clickListItem(*window, target);
            // The selection's own refill may have stored numbers; the paste must add nothing.
            window->document().markClean();
            const SceneSet before = window->document().scenes();
            pressKeys(list(*window), QKeySequence("Ctrl+V"));
            QVERIFY(window->document().scenes() == before);
            QVERIFY(!window->document().modified());
            QCOMPARE(window->controls().selectedIndex(), target);
        }
        QCOMPARE(runs.pastes, 3);
    }

    void shortcutsInTheSceneNameFieldRunTheCommands()
    {
        auto window = MakeWindow();
        CommandRuns runs(*window);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("outside"));

        // A pad is copied, then the copy from "Common" empties the buffer's kind.
        clickListItem(*window, kPad1);
        pressKeys(list(*window), QKeySequence("Ctrl+C"));
        clickListItem(*window, 0);
        auto* name = widgetNamed<QLineEdit>(*window, "EditSceneName");
        typeInto(*window, "EditSceneName", "abcdefghijklmno");
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKLMNO"));
        name->selectAll();
        pressKeys(name, QKeySequence("Ctrl+C"));
        QCOMPARE(runs.copies, 2);
        QCOMPARE(clipboard->text(), QStringLiteral("outside"));
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKLMNO"));

        // Paste with "Common" re-shows the panel: the field now shows the 12 stored characters
        // and nothing of the clipboard.
        name->setCursorPosition(3);
        pressKeys(name, QKeySequence("Ctrl+V"));
        QCOMPARE(runs.pastes, 1);
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKL"));
        QVERIFY(!name->text().contains(QStringLiteral("OUTSIDE")));
        QCOMPARE(clipboard->text(), QStringLiteral("outside"));

        // The pad copied before "Common" is no longer pasted.
        clickListItem(*window, kPad6);
        const SceneSet before = window->document().scenes();
        pressKeys(list(*window), QKeySequence("Ctrl+V"));
        QVERIFY(window->document().scenes() == before);
        QCOMPARE(runs.pastes, 2);
        QCOMPARE(clipboard->text(), QStringLiteral("outside"));
    }

    // A paste is an edit when it changes the scene, also when only drop-down values differ;
    // pasting what the control already holds leaves nothing to save.
    void pasteMarksTheDocumentModifiedWhenItChangesTheScene()
    {
        auto window = MakeWindow();
        const SceneRecord& scene = window->document().current();
        window->document().editCurrent([](SceneRecord& record) {
            record.PadCCNumber[1] = record.PadCCNumber[0];
            record.PadBehavior[0] = 1;
            record.PadMIDICh[0] = 2;
        });
        clickListItem(*window, kPad1);
        pressKeys(list(*window), QKeySequence("Ctrl+C"));
        clickListItem(*window, kPad2);
        window->document().markClean();

        pressKeys(list(*window), QKeySequence("Ctrl+V"));
        QCOMPARE(scene.PadBehavior[1], 1);
        QCOMPARE(scene.PadMIDICh[1], 2);
        QCOMPARE(widgetNamed<QComboBox>(*window, "SelPadMIDICh")->currentText(), QStringLiteral("3"));
        QVERIFY(window->document().modified());

        window->document().markClean();
        pressKeys(list(*window), QKeySequence("Ctrl+V"));
        QVERIFY(!window->document().modified());
    }

    void sceneCarriedIntoAnotherFileIsOneUndoStep()
    {
        QTemporaryDir folder;
        const QString other = folder.filePath(QStringLiteral("other.lumo"));
        SceneSet otherScenes;
        for (int n = 1; n <= kSceneCount; ++n) SetSceneName(otherScenes.scene(n), "OTHER");
        QVERIFY(SaveSceneFile(other, otherScenes).ok());

        auto window = MakeWindow();
        // Stale name bytes after a short name travel too.
        window->document().edit([](SceneSet& scenes) {
            SetSceneName(scenes.scene(2), "AB");
            scenes.scene(2).Padding[1] = 0x5A;
        });
        const SceneRecord copied = window->document().scenes().scene(2);
        clickScene(*window, 2);
        pressKeys(list(*window), QKeySequence("Ctrl+Shift+C"));

        window->openFile(other);
        clickScene(*window, 3);
        clickListItem(*window, kKey3);
        window->document().markClean();
        const SceneSet opened = window->document().scenes();
        pressKeys(list(*window), QKeySequence("Ctrl+Shift+V"));
        QCOMPARE(std::memcmp(&window->document().scenes().scene(3), &copied, sizeof copied), 0);
        QVERIFY(window->document().modified());
        // Redisplayed as a scene button click: "Common" of scene 3 with the pasted name.
        QCOMPARE(window->controls().selectedIndex(), 0);
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditSceneName")->text(), QStringLiteral("AB"));
        QCOMPARE(widgetNamed<QToolButton>(*window, "SceneButton3")->text(), QStringLiteral("AB"));

        pressKeys(list(*window), QKeySequence("Ctrl+Z"));
        QVERIFY(window->document().scenes() == opened);
        pressKeys(list(*window), QKeySequence("Ctrl+Y"));
        QCOMPARE(std::memcmp(&window->document().scenes().scene(3), &copied, sizeof copied), 0);
        // Pasting the same bytes again changes nothing to save.
        window->document().markClean();
        pressKeys(list(*window), QKeySequence("Ctrl+Shift+V"));
        QVERIFY(!window->document().modified());
    }
};

QTEST_MAIN(TestCopyPaste)
#include "tst_copy_paste.moc"
