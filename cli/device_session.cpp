// MIDI ports, the terminal progress bar and the transfer reports of the device commands.
#include "cli/device_session.h"

#include "cli/cli_common.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace lumo::cli {

std::unique_ptr<MidiPorts> OpenSystemPorts()
{
    return OpenMidiPorts(ChooseMidiApi(), "lumo");
}

TransferHooks TerminalProgressHooks()
{
    TransferHooks hooks;
    if (!::isatty(STDERR_FILENO))
        return hooks;
    auto last = std::make_shared<int>(-1);
    hooks.progress = [last](int percent) {
        if (percent == *last)
            return;
        *last = percent;
        const int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################", 40 - filled, "",
                     percent);
        std::fflush(stderr);
    };
    hooks.showProgress = [last](bool visible) {
        if (!visible && *last >= 0) {
            std::fputc('\n', stderr);
            *last = -1;
        }
    };
    return hooks;
}

bool TransferDoneOrReport(TransferOutcome outcome, const ToolAnswers& answers, const QString& failure)
{
    switch (outcome) {
    case TransferOutcome::Done:
        return true;
    case TransferOutcome::NotFound:
        PrintError(answers.warnings.value(0));
        return false;
    case TransferOutcome::Failed:
    case TransferOutcome::Declined:
        PrintError(failure);
        return false;
    }
    return false;
}

} // namespace lumo::cli
