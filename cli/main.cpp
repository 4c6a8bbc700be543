// `lumo`: finds the command named by the first argument and runs it.
#include "cli/cli_common.h"
#include "cli/device_session.h"
#include "device/bounded_call.h"
#include "scene/file_names.h"

#include <QGuiApplication>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace lumo::cli {
QString OverviewText();
}

int main(int argc, char* argv[])
{
    using namespace lumo::cli;
    lumo::IgnoreFileSizeSignal();
    // Drawing text needs the font database of a GUI application: on the offscreen platform
    // unless one is chosen, so that `lumo render` needs no display. The rest stays without.
    const bool drawing = argc > 1 && std::strcmp(argv[1], "render") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        drawing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    // No translator is ever installed: the output is a scripting interface and stays English,
    // also where it shares texts with the window (which would show them translated).
    // File names are bytes: every argument is kept whole, UTF-8 or not.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(lumo::FileNameFromBytes(QByteArray(argv[i])));

    // `--verbose` before the command turns on the logs of every layer, on standard error.
    if (!arguments.isEmpty() && arguments.constFirst() == QLatin1String("--verbose")) {
        arguments.removeFirst();
        QLoggingCategory::setFilterRules(QStringLiteral("lumo.*.debug=true"));
    }
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
    const int status = command->run(arguments);
    // A MIDI system stuck on a vanished client may still hold a close; end without freeing
    // what it could touch.
    const auto bound = lumo::cli::AnyInterrupt() ? std::chrono::milliseconds(10) : std::chrono::milliseconds(200);
    if (!lumo::FinishBoundedJobs(bound)) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
