// What the device commands of `lumo` share: the machine's MIDI ports, answers given by the
// tool's options instead of a user, and a progress bar on standard error.
#pragma once

#include "device/device_link.h"
#include "device/midi_system.h"
#include "device/transfer_commands.h"
#include "scene/parameter_files.h"
#include "scene/user_answers.h"

#include <QStringList>

#include <memory>

namespace lumo::cli {

// The ports of the MIDI system in use (ALSA, JACK, or none), under the client name "lumo".
std::unique_ptr<MidiPorts> OpenSystemPorts();

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

// The parameter files of the current folder, or the built-in copies (the error is printed).
ParameterFiles LoadParametersOrReport();

} // namespace lumo::cli
