// The editor: one fixed-size window; the program ends when it closes. `vorel-lumo FILE`
// opens FILE once the window is up.
#include "editor/session_bus_start.h"
#include "editor/vorel_lumo_main.h"
#include "editor/window_fonts.h"
#include "device/bounded_call.h"
#include "scene/file_names.h"
#include "scene/scene_file.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[])
{
    // Answered before any window system is needed.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vorel-lumo %s\n", LUMO_VERSION);
        return std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    lumo::IgnoreFileSizeSignal();
    lumo::StartFontConfiguration();
    // The window's menu bar is its own on every desktop. Saying so before it is made spares
    // the look for a global menu, a D-Bus round trip (or a failed connection) at every start.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    const lumo::SessionBusStart sessionBus;
    // The program has no title of its own; boxes that show it fall back to the program's name.
    QGuiApplication::setApplicationDisplayName(QString());
    int status = 0;
    {
        lumo::TFormMain form;
        form.show();
        // QApplication has taken its own options out of argv; the name is kept as bytes.
        if (argc > 1) {
            const QString path = lumo::FileNameFromBytes(QByteArray(argv[1]));
            QTimer::singleShot(0, &form, [&form, path] { form.openFile(path); });
        }
        status = app.exec();
    }
    // A MIDI system stuck on a vanished client may still hold a close; end without freeing
    // what it could touch.
    if (!lumo::FinishBoundedJobs(std::chrono::milliseconds(200)))
        std::_Exit(status);
    return status;
}
