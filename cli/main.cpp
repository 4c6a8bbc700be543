// `lumo`: finds the command named by the first argument and runs it.
#include "cli/cli_common.h"

#include <QCoreApplication>

namespace lumo::cli {
QString OverviewText();
}

int main(int argc, char* argv[])
{
    using namespace lumo::cli;
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    if (arguments.isEmpty()) {
        PrintError(QStringLiteral("a command is needed"));
        PrintOut(OverviewText());
        return kExitUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        PrintOut(OverviewText());
        return kExitSuccess;
    }
    const Command* command = FindCommand(name);
    if (!command) {
        PrintError(QStringLiteral("unknown command '%1'; try 'lumo --help'").arg(name));
        return kExitUsage;
    }
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h")))
        return FindCommand(QStringLiteral("help"))->run({name});
    return command->run(arguments);
}
