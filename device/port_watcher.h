// Watches the MIDI system for ports that appear or vanish and for the system going away and
// coming back, and tells its handler on a thread of its own (never the MIDI thread, never the
// window's). A system that notifies (JACK: port registration and shutdown callbacks) makes it
// look at once; otherwise it looks at the port lists at most once a second. A system that went
// away ("none") is opened again on the next look (see ReopeningPorts).
#pragma once

#include "device/midi_ports.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumo {

// The ports and the system as one look found them.
struct PortSnapshot {
    bool systemUp = false; // false: no MIDI system ("none"), or it went away
    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
    bool operator==(const PortSnapshot&) const = default;
};

struct PortChange {
    enum Kind {
        PortsChanged, // a port appeared or vanished; `now` holds the lists
        SystemGone,   // the server stopped (or was never there); `now` is empty
        SystemBack,   // the server answers again; `now` holds its lists
    };
    Kind kind;
    PortSnapshot now;
};

class PortWatcher {
public:
    using Handler = std::function<void(const PortChange& change)>;
    // How long the watcher waits between looks at a system that does not notify.
    static constexpr std::chrono::milliseconds kPollInterval{1000};

    // Starts watching `ports` at once; the first look reports SystemBack or SystemGone so that
    // the handler learns the state it starts from. `ports` must outlive the watcher, and its
    // listing must be safe beside the link's calls (ReopeningPorts makes it so).
    PortWatcher(MidiPorts& ports, Handler handler,
                std::chrono::milliseconds interval = kPollInterval);
    // Returns once the watcher's thread has ended: no handler call is under way any more.
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    // Makes the watcher look now (any thread): what the system's notifications call.
    void lookNow();
    // The last look's view, any thread.
    PortSnapshot last() const;

private:
    void run();

    MidiPorts& m_ports;
    Handler m_handler;
    std::chrono::milliseconds m_interval;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_lookNow = false;
    bool m_stop = false;
    PortSnapshot m_last;
    bool m_looked = false;
    std::thread m_thread;
};

// True when both ports of `pair` are in `snapshot`.
struct PortPair;
bool PairPresent(const PortPair& pair, const PortSnapshot& snapshot);

} // namespace lumo
