// MIDI ports, the signal thread, the terminal progress bar and the transfer reports of the
// device commands.
#include "cli/device_session.h"

#include "app/remembered_pair.h"
#include "cli/cli_common.h"
#include "cli/stop_requests.h"
#include "device/reopening_ports.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace lumo::cli {
namespace {

std::atomic<bool> g_interrupted{false};

} // namespace

bool AnyInterrupt() { return g_interrupted.load(); }

std::unique_ptr<MidiPorts> OpenSystemPorts()
{
    // Bounded and opened again after the system went away: `lumo monitor` outlives a server.
    return std::make_unique<ReopeningPorts>([] { return OpenMidiPorts(ChooseMidiApi(), "lumo"); });
}

ControllerLink::ControllerLink()
{
    HoldStopRequests();
    m_ports = OpenSystemPorts();
    m_link = std::make_unique<DeviceLink>(*m_ports);
    m_signals = std::thread([this] {
        if (!WaitForStopRequest())
            return;
        m_interrupted = true;
        g_interrupted = true;
        m_link->cancel();
    });
}

ControllerLink::~ControllerLink()
{
    WakeStopWait(m_signals);
    m_signals.join();
    m_link.reset();
    m_ports.reset();
}

TransferHooks ToolHooks(const QString& port)
{
    TransferHooks hooks;
    hooks.onlyPort = port.toStdString();
    hooks.rememberedPair = &RememberedPair;
    hooks.rememberPair = &RememberPair;
    const bool terminal = ::isatty(STDERR_FILENO);
    hooks.readRestarted = [terminal](int restart) {
        // On a line of its own: the bar, when there is one, starts again below it.
        if (terminal)
            std::fputc('\n', stderr);
        PrintError(ReadRestartText(restart));
    };
    if (!terminal)
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

bool TransferDoneOrReport(const TransferResult& result, const ToolAnswers& answers, const QString& failure)
{
    switch (result.outcome) {
    case TransferOutcome::Done:
        return true;
    case TransferOutcome::NotFound:
        PrintError(QStringLiteral("%1 (%2)").arg(transfer_text::kDeviceNotFound, SearchFailureDetail(result.link)));
        return false;
    case TransferOutcome::Failed:
    case TransferOutcome::Differs:
        PrintError(answers.warnings.isEmpty() ? SearchFailureDetail(result.link) : answers.warnings.constFirst());
        return false;
    case TransferOutcome::Declined:
        PrintError(failure);
        return false;
    }
    return false;
}

} // namespace lumo::cli
