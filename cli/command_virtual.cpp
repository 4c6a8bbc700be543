// `lumo virtual [FILE] [--save]`: a Vorel Lumo in software behind virtual MIDI ports, for
// trying and testing the transfers without the hardware.
#include "cli/cli_common.h"
#include "cli/device_session.h"
#include "cli/stop_requests.h"

#include "device/scene_image.h"
#include "device/virtual_controller.h"

#include <cstdio>

#include <atomic>
#include <iterator>

namespace lumo::cli {

namespace {

int runVirtual(const Arguments& arguments);

} // namespace

extern const Command kVirtualCommand = {
    "virtual",
    "virtual [FILE] [--save] [--store-wrong BYTE]",
    "act as a Vorel Lumo on virtual MIDI ports until interrupted",
    "Opens a MIDI input and output port named \"Vorel Lumo (virtual)\" (ALSA, or JACK when no\n"
    "ALSA sequencer opens; LUMO_MIDI_API=alsa|jack forces one) and answers the device search\n"
    "and both transfers as the controller does, serving the scenes of FILE, or of the default\n"
    "parameters without FILE. A send replaces the scenes it serves. Runs until interrupted\n"
    "(Ctrl+C, SIGTERM); a request it cannot take is reported on standard error.\n"
    "\n"
    "  --save               on exit, write the scenes it then serves back to FILE\n"
    "  --store-wrong BYTE   store image byte BYTE (0-915) of every send with its lowest bit\n"
    "                       flipped, as a faulty controller would: for trying the read-back\n"
    "                       check of `lumo send`\n"
    "\n"
    "Exit status: 0 after an interrupt, 1 no MIDI system, FILE unreadable or not written,\n"
    "2 wrong usage.\n",
    runVirtual,
    "--save; --store-wrong BYTE",
};

namespace {

const char* const kPortName = "Vorel Lumo (virtual)";

int runVirtual(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kVirtualCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString file = operands.value(0);
    const bool save = arguments.has("--save");
    int wrongStoreAt = -1;
    if (arguments.has("--store-wrong")) {
        bool number = false;
        wrongStoreAt = arguments.value("--store-wrong").toInt(&number);
        if (!number || wrongStoreAt < 0 || wrongStoreAt >= kDeviceSceneImageSize)
            return UsageError(kVirtualCommand, QStringLiteral("--store-wrong needs a byte position 0-%1")
                                                   .arg(kDeviceSceneImageSize - 1));
    }
    if (save && file.isEmpty())
        return UsageError(kVirtualCommand, QStringLiteral("--save needs FILE"));

    SceneSet scenes;
    if (file.isEmpty())
        scenes = DefaultScenesOrReport();
    else if (!LoadOrReport(file, scenes))
        return kExitFailure;

    // The requests to stop are taken below, on this thread; every thread that the MIDI system
    // starts holds them too.
    HoldStopRequests();

    VirtualController controller(scenes);
    controller.misbehaviour().wrongStoreAt = wrongStoreAt;
    controller.onUnexpected = [](const std::string& what) {
        std::fprintf(stderr, "lumo: virtual controller: %s\n", what.c_str());
    };
    // Requests arrive on the MIDI system's thread; replies leave through the output port.
    std::atomic<VirtualMidiPorts*> output{nullptr};
    const VirtualController::Reply reply = [&output](std::uint32_t word) {
        if (VirtualMidiPorts* ports = output.load(std::memory_order_acquire))
            ports->send(word);
    };
    const MidiApi api = ChooseMidiApi();
    std::string error;
    std::unique_ptr<VirtualMidiPorts> ports = OpenVirtualMidiPorts(
        api, kPortName, [&controller, &reply](std::uint32_t word) { controller.receive(word, reply); }, error);
    if (!ports) {
        PrintError(QStringLiteral("cannot open the virtual ports: %1").arg(QString::fromStdString(error)));
        return kExitFailure;
    }
    output.store(ports.get(), std::memory_order_release);
    PrintError(QStringLiteral("serving as \"%1\" on %2; interrupt to stop")
                   .arg(QLatin1String(kPortName), QLatin1String(MidiApiName(api))));

    WaitForStopRequest();
    output.store(nullptr, std::memory_order_release);
    ports.reset(); // no request can arrive any more

    if (save && !SaveOrReport(file, controller.scenes()))
        return kExitFailure;
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
