// The gate between the MIDI system's thread and the callback that receives its messages, shared
// by the MIDI backends. On the MIDI thread it only loads and counts atomics: no lock, no
// allocation, no wait.
#pragma once

#include "device/midi_ports.h"
#include "device/short_message.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

namespace lumo {

// System messages have no part in the protocol: system exclusive (F0, and its continuation
// bytes), system common (F1-F7: time code, song position, song select, tune request, end of
// exclusive) and system real-time (F8-FF: clock, start, continue, stop, active sensing,
// reset). A running sequencer sends them throughout, and one that reached a transfer would
// count as an unasked reply. So are empty and longer-than-short messages.
inline bool IsSystemOrLong(const unsigned char* bytes, std::size_t size)
{
    return size == 0 || size > 3 || bytes[0] >= 0xF0 || !(bytes[0] & 0x80);
}

// Hands incoming short messages to a callback until stopped. stop() returns only once no call
// is under way: the MIDI system's own close does not promise that (JACK lets a process cycle
// that already runs finish), and the callback's owner may be freed right after.
class CallbackGate {
public:
    ~CallbackGate() { stop(); }

    // The MIDI thread: one message of one to three bytes goes on as a packed word, a Note Off as
    // the Note On of velocity 0 it stands for.
    void deliver(const unsigned char* bytes, std::size_t size)
    {
        if (IsSystemOrLong(bytes, size))
            return;
        // Counted before the callback is looked at: stop() either sees this call or this call
        // sees no callback (sequentially consistent order).
        m_inFlight.fetch_add(1);
        if (const MidiInputCallback* current = m_callback.load(); current && *current) {
            std::uint32_t word = 0;
            for (std::size_t i = 0; i < size; ++i)
                word |= std::uint32_t(bytes[i]) << (8 * i);
            (*current)(NoteOffAsNoteOn(word));
        }
        m_inFlight.fetch_sub(1);
    }

    // An ordinary thread, never the MIDI thread. The callback is moved in here, off the MIDI
    // thread, and called in place from then on.
    void start(MidiInputCallback callback)
    {
        stop();
        m_owned = std::make_unique<MidiInputCallback>(std::move(callback));
        m_callback.store(m_owned.get());
    }
    void stop()
    {
        m_callback.store(nullptr);
        // A call that saw the callback ends within a few instructions of the callback's work.
        while (m_inFlight.load() != 0)
            std::this_thread::yield();
        m_owned.reset();
    }

private:
    std::atomic<const MidiInputCallback*> m_callback{nullptr};
    std::atomic<int> m_inFlight{0};
    std::unique_ptr<MidiInputCallback> m_owned;
};

static_assert(std::atomic<const MidiInputCallback*>::is_always_lock_free);

} // namespace lumo
