// The Receive Ring: the last 16 short messages from the open input, written by the input
// callback and read by the device search and the transfers. Lock-free: every slot and the count
// of messages received are atomic 32-bit words.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace lumo {

inline constexpr int kRingSize = 16;

class ReceiveRing {
public:
    // The input callback's side: stores the word in the slot at the write index, moves the index
    // on (mod 16) and empties the two slots ahead, so that the 14 slots behind always hold the
    // latest messages.
    void store(std::uint32_t word)
    {
        // Only the callback writes, so a relaxed read of the count is its own last store.
        const std::uint32_t count = m_received.load(std::memory_order_relaxed);
        m_slots[count % kRingSize].store(word, std::memory_order_relaxed);
        m_slots[(count + 1) % kRingSize].store(0, std::memory_order_relaxed);
        m_slots[(count + 2) % kRingSize].store(0, std::memory_order_relaxed);
        // Release: a reader that sees the new count also sees the word stored before it.
        m_received.store(count + 1, std::memory_order_release);
    }

    // Messages stored since the ring was made; it wraps at 2^32. A reader notes it as a mark
    // and finds the n-th message after the mark with message(mark + n), for the next 14.
    std::uint32_t received() const { return m_received.load(std::memory_order_acquire); }
    std::uint32_t message(std::uint32_t number) const { return slot(int(number % kRingSize)); }
    std::uint32_t arrivedSince(std::uint32_t mark) const { return received() - mark; }

    std::uint32_t slot(int index) const
    {
        return m_slots[std::size_t(index & (kRingSize - 1))].load(std::memory_order_acquire);
    }

private:
    std::array<std::atomic<std::uint32_t>, kRingSize> m_slots{};
    std::atomic<std::uint32_t> m_received{0};
};

static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

} // namespace lumo
