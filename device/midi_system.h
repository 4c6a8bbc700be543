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
const char* MidiApiName(MidiApi api); // "ALSA", "JACK", "platform", "none"

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

// A JACK client that only looks at the connection graph, to confirm that a port we asked to
// connect really is connected (the RtMidi JACK backend does not report a failed connection).
class JackInspector {
public:
    static std::unique_ptr<JackInspector> open();
    ~JackInspector();
    // True when port `target` (full name) has a connection whose full name ends with `suffix`.
    // JACK shows a new connection to its clients only from the next process cycle on, and a
    // message sent before then is lost; so this waits for it, up to kConnectionTimeout.
    bool connectedTo(const std::string& target, const std::string& suffix) const;
    // Connects output port `source` (full name) to our input port whose full name ends with
    // `suffix`, beside the connections it has; true when JACK took the request.
    bool connect(const std::string& source, const std::string& suffix) const;
    // What the server adds to a round trip through another client: about three periods.
    std::chrono::milliseconds roundTripLatency() const;

private:
    bool connectedNow(const std::string& target, const std::string& suffix) const;
    explicit JackInspector(void* client) : m_client(client) {}
    void* m_client;
};

// The last message that ALSA or JACK wanted to print; they print nothing themselves.
std::string LastMidiSystemMessage();

} // namespace lumo
