// The picture and its labels, label by label as the window's OverlayLabel paints itself.
#include "picture/controller_picture.h"

#include "picture/jpeg_image.h"
#include "picture/overlay_painting.h"
#include "scene/display_texts.h"

#include <QPainter>

namespace lumo {

const QImage& ControllerPicture()
{
    static const QImage picture = LoadPicture(QStringLiteral(":/pictures/controller.jpg"));
    return picture;
}

void PaintControllerPicture(QPainter& painter, const SceneRecord& record, int mode, const NoteNames& notes)
{
    painter.drawImage(QRect(QPoint(0, 0), kControllerPictureRect.size()), ControllerPicture());
    const auto texts = OverlayTexts(record, mode, notes);
    for (int i = 1; i <= kOverlayLabelCount; ++i) {
        painter.save();
        painter.translate(OverlayLabelRect(i).topLeft() - kControllerPictureRect.topLeft());
        PaintOverlayLabel(painter, i, OverlayLabelText(texts[i - 1].value_or(QString())), false);
        painter.restore();
    }
}

QImage RenderControllerPicture(const SceneRecord& record, int mode, const NoteNames& notes)
{
    // Opaque, as a window's pixels are: text is then antialiased the same way.
    QImage image(kControllerPictureRect.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintControllerPicture(painter, record, mode, notes);
    return image;
}

} // namespace lumo
