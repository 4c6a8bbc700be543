// `lumo pack FILE -o IMAGE`: the 916-byte Device Scene Image of a scene file.
#include "cli/cli_common.h"

#include "device/scene_image.h"

#include <QFile>

namespace lumo::cli {

namespace {

int runPack(const Arguments& arguments);

} // namespace

extern const Command kPackCommand = {
    "pack",
    "pack FILE -o IMAGE",
    "write the 916-byte controller image of a scene file",
    "Packs the four scenes of FILE into the image that the controller stores and that a send\n"
    "carries: four scene images of 229 bytes, one byte per setting, 916 bytes.\n"
    "\n"
    "  -o IMAGE, --output IMAGE   the image file to write (replaced when it exists)\n"
    "\n"
    "Exit status: 0 written, 1 FILE unreadable or IMAGE not written, 2 wrong usage.\n",
    runPack,
    "-o, --output IMAGE",
};

namespace {

int runPack(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kPackCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString input = operands.value(0);
    const QString output = arguments.value("--output");
    if (input.isEmpty())
        return UsageError(kPackCommand, QStringLiteral("FILE is missing"));
    if (output.isEmpty())
        return UsageError(kPackCommand, QStringLiteral("-o IMAGE is missing"));

    SceneSet scenes;
    if (!LoadOrReport(input, scenes))
        return kExitFailure;
    std::uint8_t image[kDeviceSceneImageSize];
    PackSceneImage(scenes, image);
    QFile file;
    QString error = OpenNamedFile(file, output, QIODevice::WriteOnly | QIODevice::Truncate);
    if (error.isEmpty()
        && (file.write(reinterpret_cast<const char*>(image), kDeviceSceneImageSize) != kDeviceSceneImageSize
            || !file.flush()))
        error = file.errorString();
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("%1: %2.").arg(output, error));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
