// The controller picture as the main window shows it, in the screen's pixel format (RGB32).
#pragma once

#include <QImage>

namespace lumo {

QImage WindowPicture();

} // namespace lumo
