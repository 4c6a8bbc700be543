// The editor through one session on a real JACK server, driven by jack_session.sh: reads before
// and after the controller's process is replugged and after the server restarts under it, with
// the menu bar's status following. At each step it prints what the script is to do next
// ("unplug", "plug", "restart") and waits for a line back once it is done.
#include "window_test_support.h"
#include "window_user.h"

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
    void readSucceeds(TFormMain& window)
    {
        ModalScript script;
        script.press("Yes").press("OK");
        pressKeys(&window, QKeySequence("Ctrl+L"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        QCOMPARE(script.boxes.value(1).text, QStringLiteral("Read data OK."));
    }

private slots:
    void replugAndServerRestartUnderTheEditor()
    {
        // The machine's MIDI system: the script's JACK server (LUMO_MIDI_API=jack).
        auto window = MakeWindow();
        const QString controller = QStringLiteral("Controller: Vorel Lumo (virtual):Vorel Lumo (virtual)");
        QTRY_COMPARE(statusText(*window), QStringLiteral("No controller"));
        readSucceeds(*window);
        QTRY_COMPARE(statusText(*window), controller);

        askScript("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(*window), QStringLiteral("No controller"), 10000);
        askScript("plug");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(*window), controller, 10000);
        readSucceeds(*window);

        askScript("restart");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(*window), controller, 10000);
        readSucceeds(*window);
    }
};

QTEST_MAIN(JackSessionWindow)
#include "jack_session_window.moc"
