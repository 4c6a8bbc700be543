// What the device commands of `lumo` share: the machine's MIDI ports and the link that finds
// the controller on them, answers given by the tool's options instead of a user, a progress
// bar on standard error, and the reporting of how a transfer ended.
#pragma once

#include "device/device_link.h"
#include "device/midi_system.h"
#include "app/transfer_commands.h"
#include "scene/user_answers.h"

#include <QStringList>

#include <memory>

namespace lumo::cli {

// The ports of the MIDI system in use (ALSA, JACK, or none), under the client name "lumo".
std::unique_ptr<MidiPorts> OpenSystemPorts();

// The system's ports with the link that searches them for the controller; the link closes
// the ports it holds before they go.
class ControllerLink {
public:
    ControllerLink() : m_ports(OpenSystemPorts()), m_link(*m_ports) {}
    DeviceLink& link() { return m_link; }

private:
    std::unique_ptr<MidiPorts> m_ports;
    DeviceLink m_link;
};

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

// A progress bar on standard error when it is a terminal; no output otherwise.
TransferHooks TerminalProgressHooks();

// True when a transfer is done. Otherwise prints why not: the search's own message when no
// controller answered, `failure` when the transfer failed or was declined.
bool TransferDoneOrReport(TransferOutcome outcome, const ToolAnswers& answers, const QString& failure);

} // namespace lumo::cli
