// The module's side: its entry, and the program's bounded calls for the MIDI systems' code.
#include "device/bounded_call.h"
#include "device/midi_module.h"

#if defined(__linux__)
namespace lumo {

namespace {
MidiModuleHost g_host{};
} // namespace

bool RunBounded(std::function<void()> job, std::chrono::milliseconds bound)
{
    return g_host.runBounded(std::move(job), bound);
}

} // namespace lumo

// Named as kMidiModuleEntry.
extern "C" __attribute__((visibility("default"))) const lumo::MidiModule* lumo_midi_module_1(
    const lumo::MidiModuleHost& host)
{
    lumo::g_host = host;
    static const lumo::MidiModule module{&lumo::ChooseMidiApi, &lumo::OpenMidiPorts, &lumo::OpenVirtualMidiPorts};
    return &module;
}
#endif
