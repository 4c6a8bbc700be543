// Decoding the editor's pictures with libjpeg itself, so that the program needs no Qt image
// plugin to show them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lumo {

// Decodes baseline or progressive JPEG data (greyscale or colour) into an RGB888 image;
// a null image when the data is not a complete JPEG stream.
QImage DecodeJpeg(const QByteArray& jpegData);

// Decodes the picture compiled into the program under `path` (":/pictures/controller.jpg",
// ":/pictures/about.jpg"), or a JPEG file (the build's picture-as-source); a null image when it
// is missing.
QImage LoadPicture(const QString& path);

} // namespace lumo
