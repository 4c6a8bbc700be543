// The About window: client 492 x 388, picture at (74, 14) stretched to 367 x 167.
#include "editor/about.h"

#include "picture/jpeg_image.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace lumo {

TFormAbout::TFormAbout(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(tr("About Vorel Lumo"));
    setFixedSize(492, 388);
    setModal(true);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setGeometry(74, 14, 367, 167);
    m_picture->setScaledContents(true);
    m_picture->setPixmap(QPixmap::fromImage(LoadPicture(QStringLiteral(":/pictures/about.jpg"))));
    // A click on the picture closes the window like a click anywhere else.
    m_picture->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QRect over = mainWindow ? mainWindow->frameGeometry()
                                  : QGuiApplication::primaryScreen()->availableGeometry();
    move(over.center() - QPoint(width() / 2, height() / 2));
}

void TFormAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Without a border of its own the window needs an edge to stand out from what lies below.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFormAbout::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

} // namespace lumo
