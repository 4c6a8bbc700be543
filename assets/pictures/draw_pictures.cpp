// Draws the two pictures of the editor, our own drawings of the Vorel Lumo, and writes them as
// JPEG files: controller.jpg (main window, 713 x 306, shown unscaled at client (38, 26)) and
// about.jpg (About window, 367 x 167). Build the `draw-pictures` target and run it with the
// output folder as its argument (tools/draw-pictures.sh does both).
//
// Every control is placed where the main window lays its overlay label: picture x = client
// x - 38, picture y = client y - 26.
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <jpeglib.h>

namespace {

constexpr int kWidth = 713;
constexpr int kHeight = 306;
const QColor kWindowBlue(0, 128, 192);
const QColor kBody(44, 47, 53);

// Knob, slider and group columns 1..4: centres of the labels at client x 168/226/285/343 + 23.
constexpr int kColumnX[4] = {153, 211, 270, 328};
constexpr int kKnobY = 32;    // label top 40, height 36
constexpr int kSliderY = 88;  // label top 96
constexpr int kGroupY = 131;  // label top 139
// Pads: label centres, upper row top 43, lower row top 104, height 46.
constexpr double kPadX[4] = {398.5, 483.0, 568.0, 652.5};
constexpr int kPadY[2] = {40, 101};
constexpr int kPadSide = 54;
// Keyboard: 15 white keys from C to C; white key labels are 39 wide at client x 71 ... 679,
// that is a key pitch of 43.43 px starting at client x 68.8.
constexpr double kWhiteLeft = 30.8;
constexpr double kWhitePitch = 43.43;
constexpr int kKeysTop = 168;
constexpr int kKeysBottom = 303;
constexpr int kBlackBottom = 250;
// Black key label centres (client left + 21 - 38) for keys 2, 4, 7, 9, 11, 14, 16, 19, 21, 23.
constexpr int kBlackX[10] = {71, 122, 200, 248, 297, 376, 426, 504, 553, 602};

void drawKnob(QPainter& p, QPointF c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 26, 29));
    p.drawEllipse(c, 24, 24);
    QRadialGradient cap(c - QPointF(6, 8), 28);
    cap.setColorAt(0, QColor(92, 96, 104));
    cap.setColorAt(1, QColor(30, 31, 35));
    p.setBrush(cap);
    p.drawEllipse(c, 21, 21);
    // Pointer at the rim (7:30 = minimum), clear of the label text in the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    p.drawEllipse(c + QPointF(-13.4, 13.4), 2.2, 2.2);
    // Scale ticks round the knob.
    p.setPen(QPen(QColor(150, 155, 160), 1.2));
    for (int i = 0; i <= 10; ++i) {
        const double a = (225.0 - i * 27.0) * M_PI / 180.0;
        p.drawLine(c + QPointF(26 * std::cos(a), -26 * std::sin(a)),
                   c + QPointF(29 * std::cos(a), -29 * std::sin(a)));
    }
}

void drawSlider(QPainter& p, double x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 14, 16));
    p.drawRoundedRect(QRectF(x - 3, 60, 6, 54), 3, 3);
    // A cap big enough to carry the two lines of its label.
    QLinearGradient cap(0, kSliderY - 15, 0, kSliderY + 15);
    cap.setColorAt(0, QColor(78, 82, 89));
    cap.setColorAt(0.5, QColor(38, 40, 45));
    cap.setColorAt(1, QColor(66, 69, 75));
    p.setBrush(cap);
    p.setPen(QPen(QColor(15, 15, 17), 1));
    p.drawRoundedRect(QRectF(x - 22, kSliderY - 15, 44, 30), 4, 4);
    p.setPen(QPen(QColor(140, 145, 150), 1));
    p.drawLine(QPointF(x - 19, kSliderY - 14), QPointF(x - 19, kSliderY + 14));
    p.drawLine(QPointF(x + 19, kSliderY - 14), QPointF(x + 19, kSliderY + 14));
}

void drawPad(QPainter& p, QPointF c)
{
    const QRectF r(c.x() - kPadSide / 2.0, c.y() - kPadSide / 2.0, kPadSide, kPadSide);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 18, 20));
    p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 6, 6);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(226, 228, 224));
    g.setColorAt(1, QColor(178, 182, 178));
    p.setBrush(g);
    p.drawRoundedRect(r, 5, 5);
}

void drawKeyboard(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 12, 14));
    p.drawRect(QRectF(kWhiteLeft - 4, kKeysTop - 4, kWhitePitch * 15 + 8, kKeysBottom - kKeysTop + 6));
    for (int i = 0; i < 15; ++i) {
        const QRectF key(kWhiteLeft + i * kWhitePitch + 0.8, kKeysTop, kWhitePitch - 1.6,
                         kKeysBottom - kKeysTop);
        QLinearGradient g(0, key.top(), 0, key.bottom());
        g.setColorAt(0, QColor(214, 214, 210));
        g.setColorAt(0.12, QColor(250, 250, 246));
        g.setColorAt(1, QColor(236, 236, 232));
        p.setBrush(g);
        p.drawRoundedRect(key, 2, 2);
    }
    for (int x : kBlackX) {
        const QRectF key(x - 14, kKeysTop, 28, kBlackBottom - kKeysTop);
        p.setBrush(QColor(8, 8, 9));
        p.drawRoundedRect(key.adjusted(-1, 0, 1, 1), 2, 2);
        QLinearGradient g(key.left(), 0, key.right(), 0);
        g.setColorAt(0, QColor(48, 49, 53));
        g.setColorAt(0.5, QColor(26, 27, 30));
        g.setColorAt(1, QColor(44, 45, 49));
        p.setBrush(g);
        p.drawRoundedRect(key.adjusted(2, 0, -2, -6), 2, 2);
    }
}

void drawWheel(QPainter& p, QRectF slot)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 12, 14));
    p.drawRoundedRect(slot, 5, 5);
    QLinearGradient g(0, slot.top(), 0, slot.bottom());
    g.setColorAt(0, QColor(30, 31, 34));
    g.setColorAt(0.5, QColor(88, 92, 98));
    g.setColorAt(1, QColor(30, 31, 34));
    p.setBrush(g);
    p.drawRoundedRect(slot.adjusted(3, 4, -3, -4), 3, 3);
    p.setPen(QPen(QColor(20, 20, 22), 1));
    for (double y = slot.top() + 9; y < slot.bottom() - 6; y += 5)
        p.drawLine(QPointF(slot.left() + 4, y), QPointF(slot.right() - 4, y));
}

// The controller seen from above, in a 713 x 306 frame.
void drawController(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 1.5, kWidth - 3, kHeight - 3), 14, 14);
    QLinearGradient shell(0, 0, 0, kHeight);
    shell.setColorAt(0, QColor(62, 66, 73));
    shell.setColorAt(0.5, kBody);
    shell.setColorAt(1, QColor(34, 36, 40));
    p.setPen(QPen(QColor(18, 19, 21), 2));
    p.setBrush(shell);
    p.drawPath(body);
    p.setPen(QPen(QColor(110, 116, 124), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4, 4, kWidth - 8, kHeight - 8), 12, 12);

    // Name plate and the two wheels on the left.
    QFont brand("Liberation Sans");
    brand.setPixelSize(17);
    brand.setBold(true);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(brand);
    p.setPen(QColor(236, 238, 240));
    p.drawText(QRectF(14, 10, 110, 22), Qt::AlignLeft | Qt::AlignVCenter, "VOREL");
    brand.setPixelSize(13);
    brand.setBold(false);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(brand);
    p.setPen(QColor(0, 200, 120));
    p.drawText(QRectF(15, 31, 110, 16), Qt::AlignLeft | Qt::AlignVCenter, "LUMO");
    drawWheel(p, QRectF(22, 64, 24, 80));
    drawWheel(p, QRectF(62, 64, 24, 80));
    QFont small("Liberation Sans");
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(QColor(170, 176, 184));
    p.drawText(QRectF(14, 146, 40, 12), Qt::AlignHCenter, "PITCH");
    p.drawText(QRectF(54, 146, 40, 12), Qt::AlignHCenter, "MOD");

    // Knob and slider section with the group display beneath.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(36, 38, 43));
    p.drawRoundedRect(QRectF(116, 3, 250, 156), 8, 8);
    for (int i = 0; i < 4; ++i) {
        drawKnob(p, QPointF(kColumnX[i], kKnobY));
        drawSlider(p, kColumnX[i]);
    }
    p.setBrush(QColor(6, 10, 8));
    p.setPen(QPen(QColor(80, 86, 92), 1));
    p.drawRoundedRect(QRectF(124, kGroupY - 18, 234, 36), 4, 4);
    p.setPen(QPen(QColor(22, 40, 28), 1));
    for (int i = 1; i < 4; ++i) {
        const double x = (kColumnX[i - 1] + kColumnX[i]) / 2.0;
        p.drawLine(QPointF(x, kGroupY - 15), QPointF(x, kGroupY + 15));
    }

    // Pads.
    p.setFont(small);
    p.setPen(QColor(170, 176, 184));
    p.drawText(QRectF(372, 1, 120, 11), Qt::AlignLeft | Qt::AlignVCenter, "TRIGGER PADS");
    for (double y : kPadY)
        for (double x : kPadX)
            drawPad(p, QPointF(x, y));

    // Scene keys and a transport strip between the pads and the keyboard.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(22, 23, 26));
        p.drawRoundedRect(QRectF(384 + i * 38, 141, 30, 12), 3, 3);
        p.setBrush(i == 0 ? QColor(0, 210, 110) : QColor(70, 74, 80));
        p.drawEllipse(QPointF(399 + i * 38, 147), 2.5, 2.5);
    }
    p.setFont(small);
    p.setPen(QColor(170, 176, 184));
    p.drawText(QRectF(540, 140, 150, 14), Qt::AlignRight | Qt::AlignVCenter, "SCENE  1  2  3  4");

    drawKeyboard(p);
}

bool writeJpeg(const QImage& image, const QString& path, int quality)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0;
}

QImage controllerPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kWindowBlue);
    QPainter p(&image);
    drawController(p);
    return image;
}

QImage aboutPicture()
{
    // Drawn at twice the shown size (734 x 334) so that the shrunk picture stays sharp.
    QImage image(734, 334, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 334);
    sky.setColorAt(0, QColor(0, 96, 150));
    sky.setColorAt(1, QColor(0, 150, 214));
    p.fillRect(image.rect(), sky);
    QFont title("Liberation Sans");
    title.setPixelSize(40);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 6, 734, 48), Qt::AlignCenter, "VOREL LUMO");
    QFont sub("Liberation Sans");
    sub.setPixelSize(20);
    p.setFont(sub);
    p.setPen(QColor(210, 236, 250));
    p.drawText(QRectF(0, 52, 734, 26), Qt::AlignCenter, "Scene Editor");
    // The controller, slightly tilted away as if lying on a desk.
    p.save();
    p.translate(367, 84);
    QTransform tilt;
    tilt.setMatrix(0.86, 0, 0.0, 0.0, 0.78, 0.0, 0.0, 0, 1);
    p.setTransform(tilt, true);
    p.translate(-kWidth / 2.0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 70, 90));
    p.drawRoundedRect(QRectF(8, 14, kWidth, kHeight), 14, 14);
    drawController(p);
    p.restore();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = writeJpeg(controllerPicture(), folder + "/controller.jpg", 92);
    ok = writeJpeg(aboutPicture(), folder + "/about.jpg", 90) && ok;
    if (!ok) {
        std::fprintf(stderr, "draw-pictures: cannot write the pictures to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
