// The machine's MIDI system behind the port interface. On Linux: ALSA when its sequencer opens,
// else JACK when a server runs, else none (zero ports); LUMO_MIDI_API=alsa|jack forces one of
// the two. Elsewhere the platform's own (WinMM on Windows, CoreMIDI on macOS).
#pragma once

#include "device/midi_ports.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace lumo {

enum class MidiApi { None, Alsa, Jack, Platform };

// The environment's choice first, then the first system that answers.
MidiApi ChooseMidiApi();
// "ALSA", "JACK", "platform", "none"
inline const char* MidiApiName(MidiApi api)
{
    switch (api) {
    case MidiApi::Alsa: return "ALSA";
    case MidiApi::Jack: return "JACK";
    case MidiApi::Platform: return "platform";
    case MidiApi::None: break;
    }
    return "none";
}

// Ports of `api` for a client called `clientName`. Never throws: a system that fails to open
// gives a port set with no ports and systemName() "none"; lastError() tells why.
std::unique_ptr<MidiPorts> OpenMidiPorts(MidiApi api, const std::string& clientName);

// One input and one output port that other programs see and connect to, both called
// `portName`: what `lumo virtual` offers in place of the controller.
class VirtualMidiPorts {
public:
    virtual ~VirtualMidiPorts() = default;
    // 0 when handed over.
    virtual int send(std::uint32_t word) = 0;
};

// nullptr with `error` set when the ports cannot be made (no MIDI system, or the system refuses).
std::unique_ptr<VirtualMidiPorts> OpenVirtualMidiPorts(MidiApi api, const std::string& portName,
                                                       MidiInputCallback onWord, std::string& error);

// Probes of the two systems, which keep their libraries' own messages off the terminal.
bool AlsaSequencerOpens();
bool JackServerRuns();

// Ports of one JACK client of our own (see jack_ports.cpp); nullptr when built without JACK, and
// then RtMidi's JACK backend stands in.
std::unique_ptr<MidiPorts> OpenJackPorts(const std::string& clientName);

// The last message that ALSA or JACK wanted to print; they print nothing themselves.
std::string LastMidiSystemMessage();

} // namespace lumo
