// The one seam between the device logic and a MIDI system: ports listed and opened by name, one
// packed short message sent at a time, every incoming short message handed to a callback.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lumo {

// Called on the backend's own thread with every incoming short message as a packed word; on
// JACK that is the server's real-time process thread. It must do a small, fixed amount of work:
// no lock, no allocation, no wait, no Qt call. System messages (F0-FF) never reach it.
using MidiInputCallback = std::function<void(std::uint32_t word)>;

class MidiPorts {
public:
    virtual ~MidiPorts() = default;

    // "ALSA", "JACK", "simulated", or "none" when the machine has no MIDI system or it went
    // away (a JACK server that stopped).
    virtual std::string systemName() const = 0;

    // The ports as they are now, in the system's order, by their full names. The program's own
    // ports are never listed.
    virtual std::vector<std::string> outputNames() = 0;
    virtual std::vector<std::string> inputNames() = 0;

    // At most one output and one input are open at a time; opening closes nothing by itself.
    virtual bool openOutput(const std::string& name) = 0;
    virtual void closeOutput() = 0;
    // Opens the output connected to every port in `names` at once (several only when
    // sendsToMany()): each word sent reaches all of them.
    virtual bool openOutputs(const std::vector<std::string>& names)
    {
        return names.size() == 1 && openOutput(names.front());
    }
    virtual bool sendsToMany() const { return false; }
    // Moves the open output to `names`. A system that can (JACK) keeps the connections that
    // both share and changes only the others; the rest close and open.
    virtual bool moveOutputs(const std::vector<std::string>& names)
    {
        closeOutput();
        return openOutputs(names);
    }
    // Opens and starts the input, connected to every port in `names` (several only when
    // listensToMany()): from then on `callback` receives every message that arrives. False when
    // any of them could not be connected.
    virtual bool openInput(const std::vector<std::string>& names, MidiInputCallback callback) = 0;
    // Stops the input and returns only once no call of the callback is under way any more.
    virtual void closeInput() = 0;
    virtual bool listensToMany() const { return false; }
    // Moves the open input to `names`, as moveOutputs() does the output.
    virtual bool moveInput(const std::vector<std::string>& names, MidiInputCallback callback)
    {
        closeInput();
        return openInput(names, std::move(callback));
    }

    // 0 when the word was handed to the open output port, anything else is a failure.
    virtual int send(std::uint32_t word) = 0;

    // Time that the system itself adds to a round trip (a JACK server's periods), beyond what
    // the device needs.
    virtual std::chrono::milliseconds latency() const { return std::chrono::milliseconds(0); }

    // Cycles the system reported missed since it opened (JACK's xruns). A message under way
    // in such a cycle may be lost or come twice: a JACK server that does not wait for its
    // clients (its default mode) starts the next cycle while a late one has not yet run, so a
    // buffer can be overwritten before its reader saw it.
    virtual std::uint32_t missedCycles() const { return 0; }

    // Whether an output and an input are open and still connected to the ports they were opened on.
    // A port that vanished and came back under its old name is a new port that nothing is
    // connected to; a system that cannot tell says false, and the link opens anew.
    virtual bool connectionsLive() { return false; }

    // `notify` is called, off the MIDI thread, whenever ports may have appeared or vanished or
    // the system went away; a watcher then looks. Only systems that notifiesChanges() call it;
    // the others are looked at by polling. It must do little and never call back into the ports.
    virtual void setChangeNotifier(std::function<void()> notify) { (void)notify; }
    virtual bool notifiesChanges() const { return false; }

    // A flag that, once set, makes every request to the system under way or to come give up at
    // once (a cancelled search or transfer); the ports keep working for what is not waited for.
    virtual void setCancelFlag(const std::atomic<bool>* cancelled) { (void)cancelled; }

    // The last error that the MIDI system reported, for diagnostics; empty when none.
    virtual std::string lastError() const { return {}; }
};

} // namespace lumo
