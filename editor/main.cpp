// The editor: one fixed-size window; the program ends when it closes. `vorel-lumo FILE`
// opens FILE once the window is up.
#include "editor/vorel_lumo_main.h"
#include "scene/file_names.h"
#include "scene/scene_file.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    lumo::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    // The program has no title of its own; boxes that show it fall back to the program's name.
    QGuiApplication::setApplicationDisplayName(QString());
    lumo::TFormMain form;
    form.show();
    // QApplication has taken its own options out of argv; the name is kept as bytes.
    if (argc > 1) {
        const QString path = lumo::FileNameFromBytes(QByteArray(argv[1]));
        QTimer::singleShot(0, &form, [&form, path] { form.openFile(path); });
    }
    return app.exec();
}
