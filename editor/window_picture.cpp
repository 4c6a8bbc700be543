#include "editor/window_picture.h"

#include "picture/jpeg_image.h"

#include <cstdint>

#if defined(LUMO_DECODED_CONTROLLER_PICTURE)
namespace lumo {
extern const int kControllerPixelsWidth;
extern const int kControllerPixelsHeight;
extern const std::uint32_t kControllerPixels[];
} // namespace lumo
#endif

namespace lumo {

QImage WindowPicture()
{
#if defined(LUMO_DECODED_CONTROLLER_PICTURE)
    // Decoded when the program was built: the start neither decodes nor converts it, and the
    // pixels stay in the program's own pages until the pixmap copies them.
    return QImage(reinterpret_cast<const uchar*>(kControllerPixels), kControllerPixelsWidth, kControllerPixelsHeight,
                  kControllerPixelsWidth * 4, QImage::Format_RGB32);
#else
    return LoadPicture(QStringLiteral(":/pictures/controller.jpg")).convertToFormat(QImage::Format_RGB32);
#endif
}

} // namespace lumo
