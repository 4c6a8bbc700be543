// Window test of "Follow Controller" with the simulated controller: what its messages select,
// that following stores nothing, pauses during a read and stops when unchecked.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/control_area.h"
#include "editor/overlay_labels.h"

#include <QListWidget>

#include <thread>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

// A message as the controller sends it: on the MIDI system's thread, not the window's.
void play(SimulatedController& device, std::uint32_t word)
{
    std::thread([&device, word] { device.ports.inject(0, word); }).join();
}

constexpr std::uint32_t kKonb2Cc = 0x4015B0;    // B0 15 40: CC 21 = 64 on channel 1
constexpr std::uint32_t kNote77Ch10 = 0x644D99; // 99 4D 64: note 77 on channel 10
constexpr std::uint32_t kNote7Ch13 = 0x64079C;  // 9C 07 64: note 7 on channel 13

} // namespace

class TestFollowController : public QObject {
    Q_OBJECT
private slots:
    void followSelectsTheSenderAndStoresNothing()
    {
        SceneSet none;
        SimulatedController device(none);
        auto window = MakeWindow(&device.ports);
        SceneSet arranged = window->document().scenes();
        arranged.scene(1).KonbURValue[1] = 200; // shown as 127 by the refill
        arranged.scene(1).PadMIDICh[0] = 12;    // Trigger Pad-1 of scene 1: note 7 on channel 13,
        arranged.scene(1).PadCCNumber[0] = 7;   // as the replies to a read of 0x7? bytes are
        arranged.scene(3).PadCCNumber[4] = 77;  // only scene 3 has note 77 on channel 10
        window->document().replaceScenes(arranged);
        const SceneSet& scenes = window->document().scenes();
        device.controller.setScenes(scenes);
        auto* list = widgetNamed<QListWidget>(*window, "ControlList");
        auto* follow = widgetNamed<QAction>(*window, "FollowController1");
        auto* scene3 = widgetNamed<QToolButton>(*window, "SceneButton3");
        const OverlayLabel* konb2Label = widgetNamed<OverlayLabel>(*window, "Label36");
        ModalScript script;

        pressKeys(window.get(), QKeySequence("Ctrl+F"));
        QVERIFY(follow->isChecked());

        // A refill that cannot show a stored value would store what it shows: not here.
        const SceneSet before = scenes;
        play(device, kKonb2Cc);
        QTRY_COMPARE(list->currentRow(), 6);
        QVERIFY(widgetNamed<QWidget>(*window, "PanelKonb")->isVisible());
        QVERIFY(konb2Label->selectedLook());
        QCOMPARE(widgetNamed<QFrame>(*window, "SelectFrame")->geometry(), konb2Label->geometry().adjusted(-1, -1, 1, 1));
        QCOMPARE(widgetNamed<QLineEdit>(*window, "EditKonbURValue")->text(), QStringLiteral("127"));
        QVERIFY(scenes == before);
        QVERIFY(!window->document().modified());

        // Only scene 3 has it: its scene button first. A number being typed is the user's edit,
        // clamped as the focus leaves, and kept.
        clickListItem(*window, 9);
        typeInto(*window, "EditKonbCCNumber", "300");
        play(device, kNote77Ch10);
        QTRY_COMPARE(list->currentRow(), 17);
        QVERIFY(scene3->isChecked());
        QCOMPARE(window->document().currentScene(), 3);
        QVERIFY(widgetNamed<OverlayLabel>(*window, "Label47")->selectedLook());
        QCOMPARE(scenes.scene(1).SliderCCNumber[0], 127);
        QVERIFY(window->document().modified());

        // A read's replies look like notes on channel 13; following waits for its end, then
        // goes on with the ports the read found.
        device.controller.setScenes(scenes);
        script.press("No").press("Yes").press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+L"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(device.controller.readsCompleted(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(window->document().currentScene(), 3);
        QCOMPARE(list->currentRow(), 17);
        QVERIFY(follow->isChecked());
        play(device, kNote7Ch13);
        QTRY_COMPARE(list->currentRow(), 13);
        QCOMPARE(window->document().currentScene(), 1);

        // Unchecked: nothing more is selected, and the ports stay open.
        device.ports.clearEvents();
        pressKeys(window.get(), QKeySequence("Ctrl+F"));
        QVERIFY(!follow->isChecked());
        play(device, kKonb2Cc);
        QTest::qWait(20);
        QCOMPARE(list->currentRow(), 13);
        QVERIFY(device.ports.events().empty());
    }
};

QTEST_MAIN(TestFollowController)
#include "tst_follow_controller.moc"
