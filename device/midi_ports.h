// The one seam between the device logic and a MIDI system: ports counted and opened by number,
// one packed short message sent at a time, every incoming short message handed to a callback.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lumo {

// Called on the backend's own thread with every incoming short message as a packed word.
// It must do a small, fixed amount of work and never block.
using MidiInputCallback = std::function<void(std::uint32_t word)>;

class MidiPorts {
public:
    virtual ~MidiPorts() = default;

    // "ALSA", "JACK", "simulated", or "none" when the machine has no MIDI system.
    virtual std::string systemName() const = 0;

    // Port numbers run from 0 to count - 1; counts are taken afresh at each call.
    virtual int outputCount() = 0;
    virtual int inputCount() = 0;
    virtual std::string outputName(int port) = 0;
    virtual std::string inputName(int port) = 0;

    // At most one output and one input are open at a time; opening closes nothing by itself.
    virtual bool openOutput(int port) = 0;
    virtual void closeOutput() = 0;
    // Opens and starts the input: from then on `callback` receives every incoming message.
    virtual bool openInput(int port, MidiInputCallback callback) = 0;
    virtual void closeInput() = 0;

    // 0 when the word was handed to the open output port, anything else is a failure.
    virtual int send(std::uint32_t word) = 0;

    // The last error that the MIDI system reported, for diagnostics; empty when none.
    virtual std::string lastError() const { return {}; }
};

} // namespace lumo
