// The editor: one fixed-size window; the program ends when it closes.
#include "editor/vorel_lumo_main.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The program has no title of its own; boxes that show it fall back to the program's name.
    QGuiApplication::setApplicationDisplayName(QString());
    lumo::TFormMain form;
    form.show();
    return app.exec();
}
