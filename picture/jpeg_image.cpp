// libjpeg decoding from memory. libjpeg reports fatal errors through error_exit, which must
// not return; we leave the decoder with longjmp and hand back a null image.
#include "picture/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

// The pictures are compiled into the static picture library, whose resource initialiser
// the linker would drop unless something refers to it.
static void initPictureResources()
{
    Q_INIT_RESOURCE(pictures);
}

namespace lumo {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr cinfo)
{
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(errors->jump, 1);
}

// Corrupt-data warnings (premature end, extraneous bytes) are counted instead of printed.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++cinfo->err->num_warnings;
}

} // namespace

QImage DecodeJpeg(const QByteArray& jpegData)
{
    if (jpegData.isEmpty())
        return {};

    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = onFatalError;
    errors.pub.emit_message = onMessage;
    // Everything that must survive the longjmp is declared before setjmp and not changed after.
    QImage image;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpegData.constData()),
                 static_cast<unsigned long>(jpegData.size()));
    jpeg_read_header(&cinfo, TRUE);
    // libjpeg converts greyscale and YCbCr to RGB itself; CMYK files are not ours to show.
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    // A stream cut short is padded by libjpeg with a warning; treat it as broken.
    const bool truncated = errors.pub.num_warnings > 0;
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return truncated ? QImage() : image;
}

QImage LoadPicture(const QString& path)
{
    static const bool registered = (initPictureResources(), true);
    Q_UNUSED(registered);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpeg(file.readAll());
}

} // namespace lumo
