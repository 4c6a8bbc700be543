// The exported pictures of the assignments: the controller picture with its labels as PNG or
// SVG, and the printable sheet as PDF, one A4 landscape page per scene with the scene name,
// the picture and the table of what each control sends.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

class QPainter;

namespace lumo {

enum class PictureFormat { Png, Svg, Pdf };

// By the file name's extension (.png, .svg, .pdf, in any case); nullopt for any other.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

inline const QString kPictureExtensionProblem =
    QStringLiteral("The file name must end in .png, .svg or .pdf.");

// Writes the picture of scene `sceneNumbers.first()` (PNG, SVG) or a page for each of
// `sceneNumbers` in their order (PDF), labels in display mode `mode` (0..7). The file is
// written beside the target and moved into place, so a failure leaves no half-written file.
// Returns an empty text, or why it could not be written.
QString ExportPicture(const QString& path, const SceneSet& scenes, const QList<int>& sceneNumbers, int mode,
                      const NoteNames& notes);

// One page of the sheet in `page` (device pixels of a painter at `dpi`).
void PaintAssignmentPage(QPainter& painter, const QRect& page, int dpi, const SceneRecord& record, int sceneNumber,
                         int mode, const NoteNames& notes);

} // namespace lumo
