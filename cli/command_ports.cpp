// `lumo ports`: the MIDI system in use and its numbered output and input ports.
#include "cli/cli_common.h"
#include "cli/device_session.h"

namespace lumo::cli {

namespace {

int runPorts(const QStringList& arguments);

} // namespace

extern const Command kPortsCommand = {
    "ports",
    "ports",
    "list the MIDI system in use and its output and input ports",
    "Prints the MIDI system that the device commands use and the numbered output and input\n"
    "ports that the device search tries, output-major. The system is ALSA when its sequencer\n"
    "opens, else JACK when a server runs, else none (no ports); LUMO_MIDI_API=alsa or\n"
    "LUMO_MIDI_API=jack forces one.\n"
    "Exit status: 0 listed, 2 wrong usage.\n",
    runPorts,
};

namespace {

int runPorts(const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return UsageError(kPortsCommand, QStringLiteral("unexpected argument '%1'").arg(arguments[0]));
    const std::unique_ptr<MidiPorts> ports = OpenSystemPorts();
    QString text = QStringLiteral("MIDI system: %1\n").arg(QString::fromStdString(ports->systemName()));
    const int outputs = ports->outputCount();
    text += QStringLiteral("outputs: %1\n").arg(outputs);
    for (int i = 0; i < outputs; ++i)
        text += QStringLiteral("  %1  %2\n").arg(i).arg(QString::fromStdString(ports->outputName(i)));
    const int inputs = ports->inputCount();
    text += QStringLiteral("inputs: %1\n").arg(inputs);
    for (int i = 0; i < inputs; ++i)
        text += QStringLiteral("  %1  %2\n").arg(i).arg(QString::fromStdString(ports->inputName(i)));
    PrintOut(text);
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
