// `lumo unpack IMAGE --onto BASE -o FILE`: a Device Scene Image written onto the scenes of a
// scene file, as a read from the controller writes it onto the editor's scenes.
#include "cli/cli_common.h"

#include "device/scene_image.h"

#include <QFile>

namespace lumo::cli {

namespace {

int runUnpack(const QStringList& arguments);

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
};

namespace {

int runUnpack(const QStringList& arguments)
{
    QString input;
    QString base;
    QString output;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool isOutput = argument == QLatin1String("-o") || argument == QLatin1String("--output");
        if (isOutput || argument == QLatin1String("--onto")) {
            if (i + 1 >= arguments.size())
                return UsageError(kUnpackCommand, argument + QStringLiteral(" needs a file name"));
            (isOutput ? output : base) = arguments[++i];
        } else if (argument.startsWith(QLatin1Char('-')) || !input.isEmpty()) {
            return UsageError(kUnpackCommand, QStringLiteral("unexpected argument '%1'").arg(argument));
        } else {
            input = argument;
        }
    }
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
