// `lumo send FILE [--no-backup] [--no-verify]`: the four scenes of a scene file sent to the
// controller, with a backup of what it held before and a read-back compared afterwards.
#include "cli/cli_common.h"
#include "cli/device_session.h"

#include "app/document_session.h"

#include <QDir>

namespace lumo::cli {

namespace {

int runSend(const QStringList& arguments);

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
};

namespace {

int runSend(const QStringList& arguments)
{
    QString input;
    SendChecks checks{.backup = true, .verify = true, .backupFolder = {}};
    QString port;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--port")) {
            if (i + 1 >= arguments.size())
                return UsageError(kSendCommand, QStringLiteral("--port needs a port name"));
            port = arguments[++i];
        } else if (argument == QLatin1String("--verify"))
            checks.verify = true;
        else if (argument == QLatin1String("--no-verify"))
            checks.verify = false;
        else if (argument == QLatin1String("--no-backup"))
            checks.backup = false;
        else if (argument.startsWith(QLatin1Char('-')) || !input.isEmpty())
            return UsageError(kSendCommand, QStringLiteral("unexpected argument '%1'").arg(argument));
        else
            input = argument;
    }
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
