// The Receive Ring: the last 16 short messages from the input port, written by the input
// callback and read by the device search and the transfers through marks. Lock-free: every
// slot and the write index are single atomic 32-bit words.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace lumo {

inline constexpr int kRingSize = 16;

// Kinds of input-callback events; only data (a short message) is stored.
enum class MidiInputKind : std::uint32_t {
    Open = 0x3C1,
    Close = 0x3C2,
    Data = 0x3C3,
    LongData = 0x3C4,
    Error = 0x3C5,
    LongError = 0x3C6,
};

class ReceiveRing {
public:
    // Stores a short message at the write index, advances the index (mod 16) and empties the
    // two slots ahead of it, so that the 14 slots behind always hold the latest messages.
    void OnMidiInput(MidiInputKind kind, std::uint32_t word);

    int writeIndex() const { return m_writeIndex.load(std::memory_order_acquire); }
    std::uint32_t slot(int index) const
    {
        return m_slots[std::size_t(index & (kRingSize - 1))].load(std::memory_order_acquire);
    }
    // The read sets the index back to 0 once the reply it waited for has arrived.
    void resetWriteIndex() { m_writeIndex.store(0, std::memory_order_release); }

    // Messages that arrived since `mark`: (write index - mark + 16) mod 16.
    int arrivedSince(int mark) const { return (writeIndex() - mark + kRingSize) % kRingSize; }

private:
    std::array<std::atomic<std::uint32_t>, kRingSize> m_slots{};
    std::atomic<std::int32_t> m_writeIndex{0};
};

static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
static_assert(std::atomic<std::int32_t>::is_always_lock_free);

} // namespace lumo
