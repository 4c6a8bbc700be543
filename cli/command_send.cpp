// `lumo send FILE [--no-backup] [--no-verify]`: the four scenes of a scene file sent to the
// controller, with a backup of what it held before and a read-back compared afterwards.
#include "cli/cli_common.h"
#include "cli/device_session.h"

#include "app/document_session.h"

#include <QDir>

namespace lumo::cli {

namespace {

int runSend(const Arguments& arguments);

} // namespace

extern const Command kSendCommand = {
    "send",
    "send FILE [--no-backup] [--no-verify] [--port NAME]",
    "send the four scenes of a scene file to the controller",
    "Finds the controller on every pair of MIDI ports and sends it the scenes of FILE, as\n"
    "\"Send Scene Data\" does. Nothing is asked; a progress bar over the whole run goes to\n"
    "standard error when it is a terminal.\n"
    "\n"
    "Before the send, the scenes the controller holds are read and stored as a scene file named\n"
    "by date and time (e.g. 2026-12-08_21-05-33.lumo) in $XDG_DATA_HOME/vorel-lumo/backups\n"
    "(~/.local/share/vorel-lumo/backups by default); the newest 50 are kept and the path is\n"
    "printed. When that read or store fails, nothing is sent. After the send the scenes are read\n"
    "back and every setting that differs is printed (scene, control, field, value sent, value\n"
    "read back).\n"
    "\n"
    "  --no-backup   send without reading and storing the controller's scenes first\n"
    "  --no-verify   do not read the scenes back after the send\n"
    "  --verify      read them back (the default; kept for scripts that ask for it)\n"
    "  --port NAME   only the port pairs whose output or input name contains NAME\n"
    "SIGINT or SIGTERM stops the run at once; during the send itself the controller may then\n"
    "hold a partly written scene image.\n"
    "\n"
    "Exit status: 0 sent (and read back equal), 1 FILE unreadable, controller not found, backup\n"
    "failed, transfer failed or interrupted, or differences found, 2 wrong usage.\n",
    runSend,
    "--no-backup; --no-verify; --verify; --port NAME",
};

namespace {

int runSend(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kSendCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString input = operands.value(0);
    if (arguments.has("--verify") && arguments.has("--no-verify"))
        return UsageError(kSendCommand, QStringLiteral("--verify and --no-verify exclude each other"));
    const SendChecks checks{.backup = !arguments.has("--no-backup"), .verify = !arguments.has("--no-verify"), .backupFolder = {}};
    const QString port = arguments.value("--port");
    if (input.isEmpty())
        return UsageError(kSendCommand, QStringLiteral("FILE is missing"));

    const ParameterFiles files = LoadParametersOrReport();
    ToolAnswers answers;
    DocumentSession document(files.defaults, answers);
    SceneSet scenes;
    if (!LoadOrReport(input, scenes))
        return kExitFailure;
    document.replaceScenes(scenes);

    ControllerLink controller;
    const TransferResult result = sendSceneData(document, controller.link(), ToolHooks(port), checks);
    if (!result.backupPath.isEmpty())
        PrintOut(QStringLiteral("backup: %1\n").arg(QDir::toNativeSeparators(result.backupPath)));
    if (result.outcome == TransferOutcome::Differs) {
        for (const QString& difference : result.differences)
            PrintOut(difference + QLatin1Char('\n'));
        const qsizetype count = result.differences.size();
        PrintError(QStringLiteral("%1 %2 between the scenes sent and read back")
                       .arg(count)
                       .arg(count == 1 ? QStringLiteral("difference") : QStringLiteral("differences")));
        return kExitFailure;
    }
    if (!TransferDoneOrReport(result, answers, QStringLiteral("sending the scenes to the controller failed")))
        return kExitFailure;
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
