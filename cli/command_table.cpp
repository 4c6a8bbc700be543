// The table of `lumo` commands. A new command adds its file and one line here.
#include "cli/cli_common.h"

namespace lumo::cli {

extern const Command kDefaultsCommand;
extern const Command kShowCommand;
extern const Command kDiffCommand;
extern const Command kGetCommand;
extern const Command kSetCommand;
extern const Command kCopySceneCommand;
extern const Command kExportCommand;
extern const Command kImportCommand;
extern const Command kCheckCommand;
extern const Command kRenderCommand;
extern const Command kPortsCommand;
extern const Command kMonitorCommand;
extern const Command kReadCommand;
extern const Command kSendCommand;
extern const Command kPackCommand;
extern const Command kUnpackCommand;
extern const Command kVirtualCommand;
extern const Command kHelpCommand;

const std::vector<const Command*>& Commands()
{
    static const std::vector<const Command*> commands = {
        &kDefaultsCommand,
        &kShowCommand,
        &kDiffCommand,
        &kGetCommand,
        &kSetCommand,
        &kCopySceneCommand,
        &kExportCommand,
        &kImportCommand,
        &kCheckCommand,
        &kRenderCommand,
        &kPortsCommand,
        &kMonitorCommand,
        &kReadCommand,
        &kSendCommand,
        &kPackCommand,
        &kUnpackCommand,
        &kVirtualCommand,
        &kHelpCommand,
    };
    return commands;
}

} // namespace lumo::cli
