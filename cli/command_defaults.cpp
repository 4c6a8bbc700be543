// `lumo defaults -o FILE`: the scene file that start-up and "New" would give.
#include "cli/cli_common.h"

namespace lumo::cli {

namespace {

int runDefaults(const Arguments& arguments);

} // namespace

extern const Command kDefaultsCommand = {
    "defaults",
    "defaults -o FILE",
    "write the four scenes of the default parameters to a scene file",
    "Reads DefPara.ini and NotePara.ini from the current folder as the editor does at start-up,\n"
    "fills all four scenes from the defaults and saves them to FILE (3,536 bytes).\n"
    "\n"
    "  -o FILE, --output FILE   the scene file to write (\".lumo\"); an existing FILE is kept\n"
    "                           as its backup, same folder and name with the extension \".BAK\"\n"
    "\n"
    "When a parameter file cannot be opened, its error is printed and the copies built into\n"
    "the program are used instead; the file is still written.\n"
    "Exit status: 0 written, 1 the file could not be written, 2 wrong usage.\n",
    runDefaults,
    "-o, --output FILE",
};

namespace {

int runDefaults(const Arguments& arguments)
{
    if (!arguments.operands().isEmpty())
        return UsageError(kDefaultsCommand, QStringLiteral("unexpected argument '%1'").arg(arguments.operands()[0]));
    const QString output = arguments.value("--output");
    if (output.isEmpty()) return UsageError(kDefaultsCommand, QStringLiteral("-o FILE is missing"));

    return SaveOrReport(output, DefaultScenesOrReport()) ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
