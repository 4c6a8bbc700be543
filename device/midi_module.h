// The MIDI systems (RtMidi, ALSA, JACK) as a module of their own that a program loads on its
// first call into them (Linux): a start then neither loads nor binds those libraries, and the
// editor's window maps sooner. Module and program come from one build and share these types.
#pragma once

#include "device/midi_system.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace lumo {

// What the module offers: the calls of midi_system.h that programs make.
struct MidiModule {
    MidiApi (*chooseMidiApi)();
    std::unique_ptr<MidiPorts> (*openMidiPorts)(MidiApi api, const std::string& clientName);
    std::unique_ptr<VirtualMidiPorts> (*openVirtualMidiPorts)(MidiApi api, const std::string& portName,
                                                              MidiInputCallback onWord, std::string& error);
};

// What the module takes from the program: its bounded calls, whose jobs the program waits for
// before it ends (FinishBoundedJobs).
struct MidiModuleHost {
    bool (*runBounded)(std::function<void()> job, std::chrono::milliseconds bound);
};

// The module's one exported function. Its name carries the version of the two tables above,
// so that a module of another build is refused rather than called wrongly.
inline constexpr char kMidiModuleEntry[] = "lumo_midi_module_1";
using MidiModuleEntry = const MidiModule* (*)(const MidiModuleHost& host);

} // namespace lumo
