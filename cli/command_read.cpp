// `lumo read -o FILE`: the four scenes read from the controller, saved as a scene file.
#include "cli/cli_common.h"
#include "cli/device_session.h"

#include "app/document_session.h"

namespace lumo::cli {

namespace {

int runRead(const Arguments& arguments);

} // namespace

extern const Command kReadCommand = {
    "read",
    "read -o FILE [--port NAME]",
    "read the four scenes from the controller into a scene file",
    "Finds the controller on every pair of MIDI ports, reads its scene image and writes it onto\n"
    "the scenes of the default parameters, as \"Read Scene Data\" leaves the editor's scenes\n"
    "(every scene name then has 12 characters), and saves them to FILE. Nothing is asked; a\n"
    "progress bar goes to standard error when it is a terminal.\n"
    "\n"
    "  -o FILE, --output FILE   the scene file to write; an existing FILE becomes its backup\n"
    "  --port NAME              only the port pairs whose output or input name contains NAME\n"
    "                           (one controller among several; see `lumo ports --scan`)\n"
    "\n"
    "The pair of ports that answered is kept in the user's settings and tried first next time.\n"
    "A reply lost on the way (a loaded MIDI system) makes the read start over, at most three\n"
    "times, each said on standard error; no byte of a broken read is kept.\n"
    "SIGINT or SIGTERM stops the read at once; nothing is written then.\n"
    "\n"
    "Exit status: 0 read and saved, 1 controller not found, read failed or interrupted, or FILE\n"
    "not written, 2 wrong usage.\n",
    runRead,
    "-o, --output FILE; --port NAME",
};

namespace {

int runRead(const Arguments& arguments)
{
    if (!arguments.operands().isEmpty())
        return UsageError(kReadCommand, QStringLiteral("unexpected argument '%1'").arg(arguments.operands()[0]));
    const QString output = arguments.value("--output");
    const QString port = arguments.value("--port");
    if (output.isEmpty())
        return UsageError(kReadCommand, QStringLiteral("-o FILE is missing"));

    const ParameterFiles files = LoadParametersOrReport();
    ToolAnswers answers;
    DocumentSession document(files.defaults, answers);
    SceneSet defaults;
    ApplyDefaults(files.defaults, defaults);
    document.replaceScenes(defaults);

    ControllerLink controller;
    if (!TransferDoneOrReport(readSceneData(document, controller.link(), ToolHooks(port)), answers,
                              QStringLiteral("reading the scenes from the controller failed")))
        return kExitFailure;
    // A signal that came after the last byte still means: write nothing.
    if (controller.interrupted()) {
        PrintError(QStringLiteral("interrupted; nothing was written"));
        return kExitFailure;
    }
    return SaveOrReport(output, document.scenes()) ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
