// The two pictures decode through libjpeg from the program's resources, at their sizes and with
// the controls where the overlay labels expect them; broken data gives a null image. The window
// shows the controller picture exactly as decoded, also where the build decoded it.
#include "editor/window_picture.h"
#include "picture/jpeg_image.h"

#include <QFile>
#include <QtTest>

using namespace lumo;

namespace {

// JPEG is lossy: a pixel is compared within this many steps per channel.
constexpr int kTolerance = 24;

bool near(QRgb pixel, QColor expected)
{
    return std::abs(qRed(pixel) - expected.red()) <= kTolerance
        && std::abs(qGreen(pixel) - expected.green()) <= kTolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= kTolerance;
}

int brightness(QRgb pixel)
{
    return qGray(pixel);
}

// A point of the controller picture from a client coordinate of the main window.
QPoint fromClient(int x, int y)
{
    return {x - 38, y - 26};
}

} // namespace

class TestJpegImage : public QObject {
    Q_OBJECT
private slots:
    void controllerPicture()
    {
        const QImage image = LoadPicture(QStringLiteral(":/pictures/controller.jpg"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(713, 306));
        QCOMPARE(image.format(), QImage::Format_RGB888);
        // Outside the rounded body the window's own blue shows, so the corners blend in.
        QVERIFY(near(image.pixel(0, 0), QColor(0, 128, 192)));
        QVERIFY(near(image.pixel(712, 305), QColor(0, 128, 192)));
        // Centres of overlay labels: knob 1, slider 3, group 4, pad 1 and 8, key 1 (white),
        // key 2 (black), key 25 (white). Lime text needs a dark control, black text a light one.
        QVERIFY(brightness(image.pixel(fromClient(168 + 23, 40 + 18))) < 90);
        QVERIFY(brightness(image.pixel(fromClient(285 + 23, 96 + 24))) < 110); // below the cap's line
        QVERIFY(brightness(image.pixel(fromClient(343 + 23, 139 + 18))) < 40);
        QVERIFY(brightness(image.pixel(fromClient(404 + 32, 43 + 23))) > 170);
        QVERIFY(brightness(image.pixel(fromClient(658 + 32, 104 + 23))) > 170);
        QVERIFY(brightness(image.pixel(fromClient(71 + 19, 279 + 24))) > 200);
        QVERIFY(brightness(image.pixel(fromClient(88 + 21, 202 + 24))) < 60);
        QVERIFY(brightness(image.pixel(fromClient(679 + 19, 279 + 24))) > 200);
    }

    void windowPictureIsTheDecodedPicture()
    {
        const QImage shown = WindowPicture();
        QCOMPARE(shown.format(), QImage::Format_RGB32);
        QVERIFY(shown == LoadPicture(QStringLiteral(":/pictures/controller.jpg")).convertToFormat(QImage::Format_RGB32));
    }

    void aboutPicture()
    {
        const QImage image = LoadPicture(QStringLiteral(":/pictures/about.jpg"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(734, 334)); // shown at half size, 367 x 167
        QVERIFY(qBlue(image.pixel(5, 5)) > qRed(image.pixel(5, 5)) + 60);
    }

    void brokenData()
    {
        QFile file(QStringLiteral(":/pictures/controller.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray jpeg = file.readAll();
        QVERIFY(DecodeJpeg(QByteArray()).isNull());
        QVERIFY(DecodeJpeg(QByteArray("not a picture at all")).isNull());
        QVERIFY(DecodeJpeg(jpeg.left(600)).isNull());             // header only
        QVERIFY(DecodeJpeg(jpeg.left(jpeg.size() / 2)).isNull()); // cut in the scan data
        QVERIFY(LoadPicture(QStringLiteral(":/pictures/missing.jpg")).isNull());
        QVERIFY(!DecodeJpeg(jpeg).isNull());
    }
};

QTEST_MAIN(TestJpegImage)
#include "tst_jpeg_image.moc"
