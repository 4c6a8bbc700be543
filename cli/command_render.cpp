// `lumo render FILE -o OUT.png|OUT.svg|OUT.pdf`: the controller picture with its labels, or the
// printable sheet of the assignments, without a display.
#include "cli/cli_common.h"
#include "picture/picture_export.h"
#include "scene/display_texts.h"

namespace lumo::cli {

namespace {

int runRender(const Arguments& arguments);

} // namespace

extern const Command kRenderCommand = {
    "render",
    "render FILE -o OUT.png|OUT.svg|OUT.pdf [--scene N | --all] [--mode 0..7]",
    "draw the controller picture with its labels, or print the assignments",
    "Draws the controller picture with the overlay labels of one scene of the scene file FILE,\n"
    "as the editor's window shows them and its \"Export Picture...\" saves them, chosen by the\n"
    "output's extension:\n"
    "\n"
    "  .png   the picture, 713 x 306 pixels\n"
    "  .svg   the picture as a drawing\n"
    "  .pdf   one A4 landscape page per scene: the scene name, the picture and a table of what\n"
    "         every enabled control sends (\"Konb-1 -- CC 20 on channel 1, 0-127\")\n"
    "\n"
    "  -o OUT, --output OUT   the file to write; it is written whole or not at all\n"
    "  --scene N              scene N (1..4); a PNG or SVG shows scene 1 without it\n"
    "  --all                  every scene, one page each: the PDF's default\n"
    "  --mode M               the labels of display mode M, as \"Display Select\" numbers them\n"
    "                         (0 MIDI Channel, 1 Assign Type, 2 CC/Note Number (the default),\n"
    "                         3 Lower/Left, 4 Upper/Right, 5 Button Behavior, 6 Off, 7 On Value)\n"
    "\n"
    "No display is needed. Exit status: 0 written, 1 FILE could not be read or OUT not written,\n"
    "2 wrong usage.\n",
    runRender,
    "-o, --output OUT; --scene N; --all; --mode M",
};

namespace {

int runRender(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kRenderCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString input = operands.value(0);
    const QString output = arguments.value("--output");
    const bool all = arguments.has("--all");
    std::optional<int> scene;
    if (arguments.has("--scene")) {
        scene = ParseWholeNumber(arguments.value("--scene"));
        if (!scene || *scene < 1 || *scene > kSceneCount)
            return UsageError(kRenderCommand, QStringLiteral("--scene needs 1, 2, 3 or 4"));
    }
    int mode = 2;
    if (arguments.has("--mode")) {
        const std::optional<int> number = ParseWholeNumber(arguments.value("--mode"));
        if (!number || *number < 0 || *number >= DisplayModeItems().size())
            return UsageError(kRenderCommand, QStringLiteral("--mode needs a display mode 0..7"));
        mode = *number;
    }
    if (input.isEmpty()) return UsageError(kRenderCommand, QStringLiteral("FILE is missing"));
    if (output.isEmpty()) return UsageError(kRenderCommand, QStringLiteral("-o OUT is missing"));
    const std::optional<PictureFormat> format = PictureFormatOf(output);
    if (!format) return UsageError(kRenderCommand, QStringLiteral("OUT must end in .png, .svg or .pdf"));
    if (scene && all) return UsageError(kRenderCommand, QStringLiteral("--scene and --all exclude each other"));
    if (all && *format != PictureFormat::Pdf)
        return UsageError(kRenderCommand, QStringLiteral("--all needs a .pdf: a picture shows one scene"));

    SceneSet scenes;
    if (!LoadOrReport(input, scenes, input)) return kExitFailure;
    QList<int> numbers{scene.value_or(1)};
    if (*format == PictureFormat::Pdf && !scene) numbers = {1, 2, 3, 4};
    const QString problem = ExportPicture(output, scenes, numbers, mode, LoadParametersOrReport().notes);
    if (!problem.isEmpty()) {
        PrintError(problem);
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
