// What the device commands of `lumo` share: the machine's MIDI ports and the link that finds
// the controller on them, the stop on Ctrl+C and the other requests to stop, answers given by
// the tool's options instead of a user, a progress bar on standard error, and the reporting of
// how a transfer ended.
#pragma once

#include "app/transfer_commands.h"
#include "device/device_link.h"
#include "device/midi_system.h"
#include "app/user_answers.h"

#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>

namespace lumo::cli {

// The ports of the MIDI system in use (ALSA, JACK, or none), under the client name "lumo".
std::unique_ptr<MidiPorts> OpenSystemPorts();

// The system's ports with the link that searches them for the controller; the link closes
// the ports it holds before they go. A request to stop (Ctrl+C, SIGTERM, SIGHUP) cancels the
// search or transfer under way (its wait ends at once) and is taken by a thread of its own:
// every thread started meanwhile, the MIDI system's among them, holds them (stop_requests.h).
class ControllerLink {
public:
    ControllerLink();
    ~ControllerLink();
    DeviceLink& link() { return *m_link; }
    // True once a signal asked the command to stop: it then writes nothing.
    bool interrupted() const { return m_interrupted.load(); }

private:
    std::thread m_signals;
    std::atomic<bool> m_interrupted{false};
    std::unique_ptr<MidiPorts> m_ports;
    std::unique_ptr<DeviceLink> m_link;
};

// True once SIGINT or SIGTERM came to any device command: the program then ends without
// waiting for the MIDI system's requests still under way.
bool AnyInterrupt();

// The tool asks nobody: every question is answered Yes and every message is kept, so the
// command can print what matters.
class ToolAnswers : public UserAnswers {
public:
    Answer ask(MessageKind, const QString&) override { return Answer::Yes; }
    void tell(MessageKind kind, const QString& text) override
    {
        if (kind == MessageKind::Warning)
            warnings.append(text);
    }
    void showError(const QString& text) override { warnings.append(text); }
    std::optional<QString> chooseOpenFile() override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const QString&) override { return std::nullopt; }

    QStringList warnings;
};

// A progress bar on standard error when it is a terminal, the restarts of a read said there, and
// the pair that answered last kept in the user's settings; with `port`, only the pairs that
// name it are tried.
TransferHooks ToolHooks(const QString& port = {});

// True when a transfer is done. Otherwise prints why not: the search's own message with what
// it found when no controller answered, the warning of a failed transfer, `failure` when it was
// declined.
bool TransferDoneOrReport(const TransferResult& result, const ToolAnswers& answers, const QString& failure);

} // namespace lumo::cli
