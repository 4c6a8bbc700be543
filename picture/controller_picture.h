// The controller picture with the overlay labels of one scene in one display mode, painted as
// the main window shows it (no label selected), for the exported pictures.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace lumo {

// Where the picture lies in the main window's client area: 713 x 306 at (38, 26).
inline constexpr QRect kControllerPictureRect(38, 26, 713, 306);

// The decoded controller picture, decoded once.
const QImage& ControllerPicture();

// Paints the picture with its top-left corner at the painter's origin, 713 x 306 in the
// painter's units, and over it the 45 labels with the texts of `mode` (0..7) for `record`.
void PaintControllerPicture(QPainter& painter, const SceneRecord& record, int mode, const NoteNames& notes);

// The same in a 713 x 306 image, as the window's pixels are.
QImage RenderControllerPicture(const SceneRecord& record, int mode, const NoteNames& notes);

} // namespace lumo
