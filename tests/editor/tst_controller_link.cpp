// Window test of the controller link across a session with the simulated ports: the menu bar's
// status following plug and unplug without moving the client area, Follow Controller across a
// replug and a restart of the MIDI system, the "Controller" submenu with two controllers, and
// Esc while the MIDI system opens.
#include "window_test_support.h"
#include "window_user.h"

#include "app/remembered_pair.h"
#include "device/reopening_ports.h"
#include "editor/controller_menu.h"

#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

constexpr std::uint32_t kKonb2Cc = 0x4015B0;   // B0 15 40: Konb-2 of the default scenes
constexpr std::uint32_t kSlider1Cc = 0x4018B0; // B0 18 40: Slider-1

QString statusText(const TFormMain& window)
{
    return widgetNamed<QLabel>(window, QStringLiteral("ConnectionStatus"))->text();
}

// Where the client area is and how large the window is.
QList<QRect> clientPlace(TFormMain& window)
{
    window.layout()->activate();
    return {window.client()->geometry(), QRect(QPoint(), window.size())};
}

void play(SimulatedPorts& ports, int input, std::uint32_t word)
{
    std::thread([&ports, input, word] { ports.inject(input, word); }).join();
}

void verifyScript(const ModalScript& script)
{
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
    QVERIFY(script.finished());
}

} // namespace

class TestControllerLink : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // Each case starts with no pair remembered by an earlier one.
        QStandardPaths::setTestModeEnabled(true);
        RememberPair({});
    }

    void statusFollowsPlugAndUnplugAndMovesNothing()
    {
        SceneSet scenes;
        VirtualController controller(scenes);
        SimulatedPorts ports;
        // A name far wider than the corner: the status must not widen the window.
        const std::string name = "Vorel Lumo MIDI 1 on a USB hub behind a docking station, port 4 of 4";
        const int id = ports.addController(controller);
        ports.addOutput(name, id);
        ports.addInput(name, id);
        auto window = MakeWindow(&ports);
        QTRY_COMPARE(statusText(*window), QStringLiteral("No controller"));
        const QList<QRect> before = clientPlace(*window);

        ModalScript script;
        script.press("Yes").press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+L"));
        verifyScript(script);
        const QString shown = statusText(*window);
        QVERIFY2(shown.startsWith(QStringLiteral("Controller: Vorel Lumo")), qPrintable(shown));
        QCOMPARE(widgetNamed<QLabel>(*window, QStringLiteral("ConnectionStatus"))->toolTip(),
                 QStringLiteral("Controller: ") + QString::fromStdString(name));
        QCOMPARE(clientPlace(*window), before);

        ports.replug(false);
        QTRY_COMPARE(statusText(*window), QStringLiteral("No controller"));
        ports.replug(true);
        QTRY_COMPARE(statusText(*window), shown);

        // Without the status the client area is where it is with it.
        QMenuBar* bar = window->menuBar();
        QWidget* status = bar->cornerWidget(Qt::TopRightCorner);
        bar->setCornerWidget(nullptr, Qt::TopRightCorner);
        status->hide();
        QCOMPARE(clientPlace(*window), before);
        QCOMPARE(window->client()->geometry(), QRect(0, bar->height(), 792, 546));
        bar->setCornerWidget(status, Qt::TopRightCorner);
    }

    // Following pauses while the controller is gone, also while the MIDI system is, and goes on
    // by itself on its new ports; it never stores anything.
    void followControllerSurvivesAReplugAndARestart()
    {
        SceneSet none;
        SimulatedController device(none);
        auto window = MakeWindow(&device.ports);
        auto* list = widgetNamed<QListWidget>(*window, "ControlList");
        auto* follow = widgetNamed<QAction>(*window, "FollowController1");
        const SceneSet scenes = window->document().scenes();
        pressKeys(window.get(), QKeySequence("Ctrl+F"));
        QVERIFY(follow->isChecked());
        QTRY_COMPARE(statusText(*window), QStringLiteral("Controller: Vorel Lumo MIDI 1"));

        const std::function<void(bool)> gone[] = {[&](bool present) { device.ports.replug(present); },
                                                  [&](bool up) { device.ports.setSystemUp(up); }};
        const std::pair<std::uint32_t, int> sent[] = {{kKonb2Cc, 6}, {kSlider1Cc, 9}};
        for (int round = 0; round < 2; ++round) {
            const auto& plug = gone[round];
            plug(false);
            QTRY_COMPARE(statusText(*window), QStringLiteral("No controller (Follow Controller paused)"));
            QVERIFY(follow->isChecked());
            plug(true);
            QTRY_COMPARE(statusText(*window), QStringLiteral("Controller: Vorel Lumo MIDI 1"));
            // The ports are new: what the controller sends reaches the window once the search
            // on them is over (played again until then).
            QTRY_VERIFY((play(device.ports, 0, sent[round].first), list->currentRow() == sent[round].second));
        }
        QVERIFY(window->document().scenes() == scenes);
        QVERIFY(!window->document().modified());

        // Unchecked while the controller is gone: the status no longer speaks of following.
        device.ports.replug(false);
        QTRY_VERIFY(statusText(*window).contains(QStringLiteral("paused")));
        pressKeys(window.get(), QKeySequence("Ctrl+F"));
        QVERIFY(!follow->isChecked());
        QCOMPARE(statusText(*window), QStringLiteral("No controller"));
    }

    // Two controllers and a synth: the submenu lists the two that answered, the first in use as
    // before; choosing the other remembers it and the next read takes it.
    void theControllerSubmenuChoosesAmongTheAnsweringPairs()
    {
        SceneSet first;
        SceneSet second;
        second.scene(1).KonbCCNumber[0] = 99;
        VirtualController one(first);
        VirtualController two(second);
        SimulatedPorts ports;
        ports.addOutput("Some Synth", -1);
        ports.addInput("Some Synth", -1);
        for (auto [controller, name] : {std::pair{&one, "Vorel Lumo MIDI 1"}, std::pair{&two, "Vorel Lumo MIDI 2"}}) {
            const int id = ports.addController(*controller);
            ports.addOutput(name, id);
            ports.addInput(name, id);
        }
        auto window = MakeWindow(&ports);
        window->deviceLink()->setHandshakeWait(std::chrono::milliseconds(20));
        auto* menu = widgetNamed<ControllerMenu>(*window, "Controller1");
        QCOMPARE(menu->actions().size(), 1);
        QVERIFY(!menu->actions().first()->isEnabled()); // "No controller answered"

        ModalScript script;
        script.press("Yes").press("OK").press("Yes").press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+L"));
        QCOMPARE(one.readsCompleted(), 1);
        QStringList items;
        for (QAction* item : menu->actions())
            items << item->text() + (item->isChecked() ? "*" : "");
        QCOMPARE(items, QStringList({"Vorel Lumo MIDI 1*", "Vorel Lumo MIDI 2"}));

        triggerCommand(window.get(), menu->actions().at(1));
        QTRY_COMPARE(RememberedPair(), (PortPair{"Vorel Lumo MIDI 2", "Vorel Lumo MIDI 2"}));
        QTRY_VERIFY(menu->actions().at(1)->isChecked());
        QVERIFY(!menu->actions().at(0)->isChecked());
        QTRY_COMPARE(statusText(*window), QStringLiteral("Controller: Vorel Lumo MIDI 2"));
        waitForCommand(window.get());
        pressKeys(window.get(), QKeySequence("Ctrl+L"));
        verifyScript(script);
        QCOMPARE(two.readsCompleted(), 1);
        QCOMPARE(one.readsCompleted(), 1);
        QCOMPARE(window->document().scenes().scene(1).KonbCCNumber[0], 99);
        QCOMPARE(menu->actions().size(), 2);
    }

    // A MIDI system that does not answer: Esc ends the wait at once, the opening goes on and
    // the next command takes what it brought.
    void escEndsTheWaitForTheMidiSystem()
    {
        struct Gate {
            std::mutex mutex;
            std::condition_variable open;
            bool released = false;
            std::atomic<bool> returned{false};
        };
        auto gate = std::make_shared<Gate>();
        QStandardPaths::setTestModeEnabled(true);
        // Its bound is far beyond the test: only Esc ends the wait.
        auto opening = std::make_unique<ReopeningPorts>([gate]() -> std::unique_ptr<MidiPorts> {
            std::unique_lock lock(gate->mutex);
            gate->open.wait(lock, [&] { return gate->released; });
            gate->returned = true;
            return std::make_unique<SimulatedPorts>();
        }, std::chrono::minutes(2));
        ReopeningPorts* system = opening.get();
        auto window = std::make_unique<TFormMain>(QStringLiteral(LUMO_ASSETS_DIR), std::move(opening));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* bar = widgetNamed<QProgressBar>(*window, "ProgressBar1");
        bool waitingShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!waitingShown && bar->isVisible()) {
                waitingShown = bar->text() == QStringLiteral("Waiting for the MIDI system to answer...");
                QTest::keyClick(window.get(), Qt::Key_Escape);
            }
        });
        watch.start(10);
        ModalScript script;
        pressKeys(window.get(), QKeySequence("Ctrl+L"));
        watch.stop();
        QVERIFY(waitingShown);
        QVERIFY(!gate->returned); // the command ended while the system still had not answered
        QCOMPARE(system->lastError(), std::string("opening the MIDI system was cancelled"));
        QVERIFY(script.boxes.isEmpty());
        QVERIFY(window->client()->isEnabled());
        QVERIFY(!bar->isVisible());

        {
            std::lock_guard lock(gate->mutex);
            gate->released = true;
        }
        gate->open.notify_all();
        QTRY_VERIFY(gate->returned);
        script.press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+T"));
        verifyScript(script);
        QCOMPARE(script.boxes.value(0).text, QStringLiteral("Vorel Lumo Device is not exist.\n(no controller among 0 port pairs)"));
    }
};

QTEST_MAIN(TestControllerLink)
#include "tst_controller_link.moc"
