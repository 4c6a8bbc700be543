// `lumo send FILE [--verify]`: the four scenes of a scene file sent to the controller, and
// read back for comparison on request.
#include "cli/cli_common.h"
#include "cli/device_session.h"
#include "cli/scene_text.h"

#include "device/scene_image.h"
#include "device/scene_transfer.h"
#include "scene/document.h"

namespace lumo::cli {

namespace {

int runSend(const QStringList& arguments);

} // namespace

extern const Command kSendCommand = {
    "send",
    "send FILE [--verify]",
    "send the four scenes of a scene file to the controller",
    "Finds the controller on every pair of MIDI ports and sends it the scenes of FILE, as\n"
    "\"Send Scene Data\" does. Nothing is asked; a progress bar goes to standard error when it\n"
    "is a terminal.\n"
    "\n"
    "  --verify   read the scenes back afterwards and list every difference (scene, control,\n"
    "             field, value sent, value read back)\n"
    "SIGINT or SIGTERM stops the send at once; the controller may then hold a partly written\n"
    "scene image.\n"
    "\n"
    "Exit status: 0 sent (and read back equal), 1 FILE unreadable, controller not found,\n"
    "transfer failed or interrupted, or differences found, 2 wrong usage.\n",
    runSend,
};

namespace {

// Compares what the controller should hold with what it gave back; prints every difference.
int reportDifferences(const SceneSet& expected, const SceneSet& actual, const NoteNames& notes)
{
    int differences = 0;
    for (int s = 1; s <= kSceneCount; ++s) {
        const std::vector<Setting> want = SettingsOf(expected.scene(s), notes);
        const std::vector<Setting> got = SettingsOf(actual.scene(s), notes);
        for (std::size_t i = 0; i < want.size() && i < got.size(); ++i) {
            if (want[i].stored == got[i].stored && want[i].shown == got[i].shown)
                continue;
            ++differences;
            PrintOut(QStringLiteral("scene %1, %2, %3: sent %4, read back %5\n")
                         .arg(s)
                         .arg(want[i].control, want[i].field, want[i].shown, got[i].shown));
        }
    }
    return differences;
}

int runSend(const QStringList& arguments)
{
    QString input;
    bool verify = false;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--verify"))
            verify = true;
        else if (argument.startsWith(QLatin1Char('-')) || !input.isEmpty())
            return UsageError(kSendCommand, QStringLiteral("unexpected argument '%1'").arg(argument));
        else
            input = argument;
    }
    if (input.isEmpty())
        return UsageError(kSendCommand, QStringLiteral("FILE is missing"));

    const ParameterFiles files = LoadParametersOrReport();
    ToolAnswers answers;
    Document document(files.defaults, answers);
    if (!LoadOrReport(input, document.scenes()))
        return kExitFailure;

    ControllerLink controller;
    DeviceLink& link = controller.link();
    const TransferHooks hooks = ToolHooks();
    if (!TransferDoneOrReport(sendSceneData(document, link, hooks), answers,
                              QStringLiteral("sending the scenes to the controller failed")))
        return kExitFailure;
    if (!verify)
        return kExitSuccess;

    // The controller holds the scenes as a read would give them back: names of 12 bytes.
    const int length = TransferLength(files.defaults);
    ImageBuffer sent{};
    PackSceneImage(document.scenes(), sent.data());
    ImageBuffer readBack = sent;
    const LinkResult readResult =
        ReadSceneImage(link, length, readBack, BlockAddOne(files.defaults), {hooks.showProgress, hooks.progress});
    if (!readResult.ok()) {
        PrintError(QStringLiteral("reading the scenes back from the controller failed: %1")
                       .arg(TransferFailureText(readResult, false)));
        return kExitFailure;
    }
    SceneSet expected = document.scenes();
    UnpackSceneImage(sent.data(), expected);
    SceneSet actual = document.scenes();
    UnpackSceneImage(readBack.data(), actual);
    const int differences = reportDifferences(expected, actual, files.notes);
    if (differences > 0) {
        PrintError(QStringLiteral("%1 differences between the scenes sent and read back").arg(differences));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
