// `lumo ports`: the MIDI system in use and its numbered output and input ports.
#include "cli/cli_common.h"
#include "cli/device_session.h"
#include "device/short_message.h"

namespace lumo::cli {

namespace {

int runPorts(const Arguments& arguments);

} // namespace

extern const Command kPortsCommand = {
    "ports",
    "ports [--scan]",
    "list the MIDI system in use and its output and input ports",
    "Prints the MIDI system that the device commands use and the numbered output and input\n"
    "ports that the device search tries, output-major; the program's own ports are never among\n"
    "them. The system is ALSA when its sequencer opens, else JACK when a server runs, else none\n"
    "(no ports); LUMO_MIDI_API=alsa or LUMO_MIDI_API=jack forces one.\n"
    "\n"
    "  --scan   also try the device search on every pair and list the pairs that answered\n"
    "           (one per controller), numbered, as OUTPUT <- INPUT: the names that\n"
    "           `lumo read/send/monitor --port NAME` choose among. Nothing is remembered.\n"
    "\n"
    "Exit status: 0 listed, 1 a scan interrupted, 2 wrong usage.\n",
    runPorts,
    "--scan",
};

namespace {

int scanPorts()
{
    ControllerLink controller;
    DeviceLink& link = controller.link();
    const LinkResult result = link.scanDevices(IdentityReply);
    if (controller.interrupted() || result.error == LinkError::Cancelled)
        return kExitFailure;
    QString text = QStringLiteral("answering: %1\n").arg(link.answering().size());
    for (std::size_t i = 0; i < link.answering().size(); ++i)
        text += QStringLiteral("  %1  %2 <- %3\n")
                    .arg(i)
                    .arg(QString::fromStdString(link.answering()[i].output), QString::fromStdString(link.answering()[i].input));
    if (!result.ok() && result.error != LinkError::NotFound)
        PrintError(SearchFailureDetail(result));
    PrintOut(text);
    return kExitSuccess;
}

int runPorts(const Arguments& arguments)
{
    if (!arguments.operands().isEmpty())
        return UsageError(kPortsCommand, QStringLiteral("unexpected argument '%1'").arg(arguments.operands()[0]));
    if (arguments.has("--scan"))
        return scanPorts();
    const std::unique_ptr<MidiPorts> ports = OpenSystemPorts();
    QString text = QStringLiteral("MIDI system: %1\n").arg(QString::fromStdString(ports->systemName()));
    auto list = [&text](const char* kind, const std::vector<std::string>& names) {
        text += QStringLiteral("%1: %2\n").arg(QLatin1String(kind)).arg(names.size());
        for (std::size_t i = 0; i < names.size(); ++i)
            text += QStringLiteral("  %1  %2\n").arg(i).arg(QString::fromStdString(names[i]));
    };
    list("outputs", ports->outputNames());
    list("inputs", ports->inputNames());
    PrintOut(text);
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
