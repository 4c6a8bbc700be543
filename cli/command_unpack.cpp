// `lumo unpack IMAGE --onto BASE -o FILE`: a Device Scene Image written onto the scenes of a
// scene file, as a read from the controller writes it onto the editor's scenes.
#include "cli/cli_common.h"

#include "device/scene_image.h"

#include <QFile>

namespace lumo::cli {

namespace {

int runUnpack(const Arguments& arguments);

} // namespace

extern const Command kUnpackCommand = {
    "unpack",
    "unpack IMAGE --onto BASE -o FILE",
    "write a 916-byte controller image onto the scenes of a scene file",
    "Reads the first 916 bytes of IMAGE (a controller image as 'lumo pack' writes it) and\n"
    "writes every setting it carries onto the four scenes of BASE, which keep what the image\n"
    "does not carry (the padding bytes); every scene name becomes 12 characters long. The\n"
    "result is saved to FILE.\n"
    "\n"
    "  --onto BASE                the scene file whose scenes the image is written onto\n"
    "  -o FILE, --output FILE     the scene file to write; an existing FILE becomes its backup\n"
    "\n"
    "Exit status: 0 written, 1 IMAGE shorter than 916 bytes or a file unreadable or not\n"
    "written, 2 wrong usage.\n",
    runUnpack,
    "--onto BASE; -o, --output FILE",
};

namespace {

int runUnpack(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kUnpackCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString input = operands.value(0);
    const QString base = arguments.value("--onto");
    const QString output = arguments.value("--output");
    if (input.isEmpty())
        return UsageError(kUnpackCommand, QStringLiteral("IMAGE is missing"));
    if (base.isEmpty())
        return UsageError(kUnpackCommand, QStringLiteral("--onto BASE is missing"));
    if (output.isEmpty())
        return UsageError(kUnpackCommand, QStringLiteral("-o FILE is missing"));

    QFile file;
    if (const QString error = OpenNamedFile(file, input, QIODevice::ReadOnly); !error.isEmpty()) {
        PrintError(QStringLiteral("%1: %2.").arg(input, error));
        return kExitFailure;
    }
    const QByteArray image = file.read(kDeviceSceneImageSize);
    if (image.size() < kDeviceSceneImageSize) {
        PrintError(QStringLiteral("%1: the image holds %2 bytes, %3 are needed.")
                       .arg(input)
                       .arg(image.size())
                       .arg(kDeviceSceneImageSize));
        return kExitFailure;
    }
    SceneSet scenes;
    if (!LoadOrReport(base, scenes))
        return kExitFailure;
    UnpackSceneImage(reinterpret_cast<const std::uint8_t*>(image.constData()), scenes);
    return SaveOrReport(output, scenes) ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
