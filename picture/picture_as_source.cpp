// Build tool: writes a JPEG picture, decoded as the program decodes it and converted to the
// screen's pixel format (RGB32), as a C++ array, so that the window shows it without decoding
// at every start.
// Usage: picture-as-source PICTURE.jpg OUT.cpp NAME   (defines lumo::NAME, NAMEWidth, NAMEHeight)
#include "picture/jpeg_image.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: picture-as-source PICTURE.jpg OUT.cpp NAME\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QImage picture = lumo::LoadPicture(source).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "picture-as-source: %s is no readable, complete JPEG picture\n", argv[1]);
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out) {
        std::fprintf(stderr, "picture-as-source: cannot write %s\n", argv[2]);
        return 1;
    }
    const char* name = argv[3];
    std::fprintf(out, "// Made from %s by picture-as-source at build time.\n#include <cstdint>\n\nnamespace lumo {\n\n",
                 QFile::encodeName(QFileInfo(source).fileName()).constData());
    std::fprintf(out, "extern const int %sWidth = %d;\nextern const int %sHeight = %d;\n", name, picture.width(), name,
                 picture.height());
    std::fprintf(out, "alignas(16) extern const std::uint32_t %s[] = {\n", name);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            std::fprintf(out, "0x%08x,%c", row[x], x % 8 == 7 || x == picture.width() - 1 ? '\n' : ' ');
    }
    std::fprintf(out, "};\n\n} // namespace lumo\n");
    const bool written = !std::ferror(out);
    return std::fclose(out) == 0 && written ? 0 : 1;
}
