// The gate between the MIDI system's thread and the callback that receives its messages, shared
// by the MIDI backends.
#pragma once

#include "device/midi_ports.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace lumo {

// Hands incoming messages to a callback until stopped. stop() returns only once no call is
// under way: the MIDI system's own close does not promise that (JACK lets a process cycle that
// already runs finish), and the callback's owner may be freed right after.
struct CallbackGate {
    std::atomic<std::shared_ptr<MidiInputCallback>> callback;
    std::atomic<int> inFlight{0};

    // One message of one to three bytes goes on as a packed word; longer ones (system
    // exclusive) are not short messages and are dropped.
    void deliver(const unsigned char* bytes, std::size_t size)
    {
        // Counted before the callback is looked at: stop() either sees this call or this call
        // sees no callback (sequentially consistent order).
        inFlight.fetch_add(1);
        if (const auto current = callback.load(); current && *current && size >= 1 && size <= 3) {
            std::uint32_t word = 0;
            for (std::size_t i = 0; i < size; ++i)
                word |= std::uint32_t(bytes[i]) << (8 * i);
            (*current)(word);
        }
        if (inFlight.fetch_sub(1) == 1)
            inFlight.notify_all();
    }
    void stop()
    {
        callback.store(nullptr);
        for (int running = inFlight.load(); running != 0; running = inFlight.load())
            inFlight.wait(running);
    }
};

} // namespace lumo
