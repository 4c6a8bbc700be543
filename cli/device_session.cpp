// MIDI ports, the signal thread, the terminal progress bar and the transfer reports of the
// device commands.
#include "cli/device_session.h"

#include "app/remembered_pair.h"
#include "cli/cli_common.h"
#include "device/reopening_ports.h"

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>

namespace lumo::cli {
namespace {

// SIGUSR2 only wakes the signal thread when the command ends without a signal.
sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR2);
    return set;
}

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
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    m_ports = OpenSystemPorts();
    m_link = std::make_unique<DeviceLink>(*m_ports);
    m_signals = std::thread([this, set] {
        int signal = 0;
        sigwait(&set, &signal);
        if (signal == SIGUSR2)
            return;
        m_interrupted = true;
        g_interrupted = true;
        m_link->cancel();
    });
}

ControllerLink::~ControllerLink()
{
    pthread_kill(m_signals.native_handle(), SIGUSR2);
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
        PrintError(QStringLiteral("%1 (%2)").arg(answers.warnings.value(0), SearchFailureDetail(result.link)));
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
