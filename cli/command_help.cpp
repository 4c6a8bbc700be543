// `lumo help [COMMAND]` and `lumo --help`.
#include "cli/cli_common.h"

namespace lumo::cli {

QString OverviewText();

namespace {

int runHelp(const Arguments& arguments);

} // namespace

extern const Command kHelpCommand = {
    "help",
    "help [COMMAND]",
    "explain a command",
    "Without COMMAND, lists the commands; with it, explains that command in full.\n",
    runHelp,
};

namespace {
constexpr int kSynopsisWidth = 25;
} // namespace

QString OverviewText()
{
    QString text = QStringLiteral(
        "lumo: command-line tool of the Vorel Lumo scene editor.\n"
        "A scene file (\".lumo\") holds the controller's four scenes raw: four 884-byte records,\n"
        "3,536 bytes, no header.\n"
        "\n"
        "usage: lumo [--verbose] COMMAND [ARGUMENTS]\n"
        "\n"
        "commands:\n");
    for (const Command* command : Commands()) {
        // A synopsis too long for the column puts its summary on the next line, under the others.
        const QLatin1String synopsis(command->synopsis);
        const QLatin1String summary(command->summary);
        if (synopsis.size() > kSynopsisWidth)
            text += QStringLiteral("  %1\n  %2 %3\n").arg(synopsis, QString(kSynopsisWidth, QLatin1Char(' ')), summary);
        else
            text += QStringLiteral("  %1 %2\n").arg(synopsis, -kSynopsisWidth).arg(summary);
    }
    text += QStringLiteral(
        "\n"
        "'lumo help COMMAND' explains a command. Results go to standard output, errors to\n"
        "standard error as 'lumo: TEXT'. Exit status: 0 success, 1 failure, 2 wrong usage.\n"
        "--verbose logs the files read and written, each port pair the device search tries and\n"
        "the course of a transfer on standard error ('lumo.file: ...', 'lumo.device: ...').\n");
    return text;
}

namespace {

int runHelp(const Arguments& parsed)
{
    const QStringList& arguments = parsed.operands();
    if (arguments.isEmpty()) {
        PrintOut(OverviewText());
        return kExitSuccess;
    }
    if (arguments.size() > 1) return UsageError(kHelpCommand, QStringLiteral("one COMMAND at most"));
    const Command* command = FindCommand(arguments[0]);
    if (!command) return UsageError(kHelpCommand, QStringLiteral("unknown command '%1'").arg(arguments[0]));
    PrintOut(QStringLiteral("usage: lumo %1\n\n%2").arg(QLatin1String(command->synopsis), QLatin1String(command->help)));
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
