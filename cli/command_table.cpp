// The table of `lumo` commands. A new command adds its file and one line here.
#include "cli/cli_common.h"

namespace lumo::cli {

extern const Command kDefaultsCommand;
extern const Command kShowCommand;
extern const Command kDiffCommand;
extern const Command kHelpCommand;

const std::vector<const Command*>& Commands()
{
    static const std::vector<const Command*> commands = {
        &kDefaultsCommand,
        &kShowCommand,
        &kDiffCommand,
        &kHelpCommand,
    };
    return commands;
}

} // namespace lumo::cli
