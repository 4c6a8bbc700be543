// A second yardstick, between the bare window and the editor: the bare window plus what the
// editor's first paint can't do without, its bundled fonts in the faces and sizes it shows
// (Arial 14 px, Times New Roman bold 20 px) and 45 labels with text. The editor's start-up can
// come no nearer to the bare window than this.
#include "editor/window_fonts.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    lumo::RegisterWindowFonts();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("floor"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(14);
    window.setFont(arial);
    for (const char* menu : {"File", "Edit", "Communication", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Item"));
    auto* client = new QWidget(&window);
    client->setFixedSize(792, 546);
    for (int i = 0; i < 45; ++i)
        (new QLabel(QStringLiteral("CC# %1").arg(i), client))->setGeometry(40 + i % 15 * 48, 30 + i / 15 * 60, 46, 36);
    (new QLineEdit(client))->setGeometry(136, 364, 145, 24);
    QFont title(QStringLiteral("Times New Roman"));
    title.setPixelSize(20);
    title.setBold(true);
    auto* control = new QLabel(QStringLiteral("CONTROL"), client);
    control->setFont(title);
    control->setGeometry(46, 334, 100, 23);
    window.setCentralWidget(client);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return app.exec();
}
