// The editor through one session on a real JACK server, driven by jack_session.sh: started
// before the server, reads before and after the controller's process is replugged and after the
// server restarts under it, then a second controller chosen in turn with the first in the
// "Controller" submenu, with the menu bar's status following. At each step it prints what the
// script is to do next ("start", "unplug", "plug", "restart", "second") and waits for a line
// back once it is done.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/controller_menu.h"

#include <QLabel>

#include <iostream>
#include <string>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

void askScript(const char* step)
{
    std::cout << step << std::endl;
    std::string done;
    if (!std::getline(std::cin, done))
        qFatal("the script ended at %s", step);
}

QString statusText(const TFormMain& window)
{
    return widgetNamed<QLabel>(window, QStringLiteral("ConnectionStatus"))->text();
}

} // namespace

class JackSessionWindow : public QObject {
    Q_OBJECT
private:
    // Konb-1 of scene 1 tells the controllers apart.
    void readSucceeds(TFormMain& window, int konb1Cc = 20)
    {
        ModalScript script;
        script.press("Yes").press("OK");
        pressKeys(&window, QKeySequence("Ctrl+L"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        QCOMPARE(script.boxes.value(1).text, QStringLiteral("Read data OK."));
        QCOMPARE(int(window.document().scenes().scene(1).KonbCCNumber[0]), konb1Cc);
    }

    // The status names a pair by the port it listens to, the submenu by both ("OUT / IN").
    static QString statusOf(const QAction* item)
    {
        return QStringLiteral("Controller: ") + item->text().split(QStringLiteral(" / ")).last();
    }

    // Chooses the submenu's item that the status then names.
    void choose(TFormMain& window, const QString& status)
    {
        auto* menu = widgetNamed<ControllerMenu>(window, QStringLiteral("Controller1"));
        QCOMPARE(menu->actions().size(), 2);
        for (QAction* item : menu->actions())
            if (statusOf(item) == status)
                triggerCommand(&window, item);
        QTRY_COMPARE(statusText(window), status);
        waitForCommand(&window);
    }

private slots:
    void fromBeforeTheServerThroughReplugRestartAndASecondController()
    {
        // The machine's MIDI system: the script's JACK server (LUMO_MIDI_API=jack), not there yet.
        auto window = MakeWindow();
        QTRY_COMPARE(statusText(*window), QStringLiteral("No controller"));
        ModalScript none;
        none.press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+L"));
        QVERIFY(none.finished());
        QVERIFY2(none.boxes.value(0).text.startsWith(QStringLiteral("Vorel Lumo Device is not exist.\n(no MIDI system")),
                 qPrintable(none.boxes.value(0).text));

        // The system opens again for the next command.
        askScript("start");
        readSucceeds(*window);
        const QString controller = QStringLiteral("Controller: Vorel Lumo (virtual):Vorel Lumo (virtual)");
        QTRY_COMPARE(statusText(*window), controller);

        askScript("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(*window), QStringLiteral("No controller"), 10000);
        askScript("plug");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(*window), controller, 10000);
        readSucceeds(*window);

        askScript("restart");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(*window), controller, 10000);
        readSucceeds(*window);

        // The ports changed: the next search tries every pair, keeps the one in use and lists both.
        askScript("second");
        readSucceeds(*window);
        auto* menu = widgetNamed<ControllerMenu>(*window, QStringLiteral("Controller1"));
        QTRY_COMPARE(menu->actions().size(), 2);
        QString second;
        for (QAction* item : menu->actions())
            if (statusOf(item) != controller)
                second = statusOf(item);
        choose(*window, second);
        readSucceeds(*window, 99);
        choose(*window, controller);
        readSucceeds(*window);
    }
};

QTEST_MAIN(JackSessionWindow)
#include "jack_session_window.moc"
