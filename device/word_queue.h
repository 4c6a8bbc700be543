// A fixed-size lock-free queue of packed short messages from one producer (the input callback,
// on the MIDI thread) to one consumer (an ordinary thread that drains it). A full queue drops
// the newest message and counts it; nothing on the producer's side locks, allocates or waits.
// The consumer sleeps on an atomic until a message comes or it is woken to stop.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace lumo {

template <std::size_t Capacity = 1024>
class WordQueue {
    static_assert((Capacity & (Capacity - 1)) == 0, "a power of two, so that the indices wrap");

public:
    // Producer side. False when full: the message is dropped and counted.
    bool push(std::uint32_t word)
    {
        const std::uint32_t tail = m_tail.load(std::memory_order_relaxed);
        if (tail - m_head.load(std::memory_order_acquire) >= Capacity) {
            m_dropped.fetch_add(1, std::memory_order_relaxed);
            return false;
        }
        m_slots[tail % Capacity] = word;
        m_tail.store(tail + 1, std::memory_order_seq_cst);
        if (m_sleeping.load(std::memory_order_seq_cst)) {
            m_events.fetch_add(1, std::memory_order_release);
            m_events.notify_one();
        }
        return true;
    }

    // Consumer side: the oldest message, if any.
    std::optional<std::uint32_t> pop()
    {
        const std::uint32_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return std::nullopt;
        const std::uint32_t word = m_slots[head % Capacity];
        m_head.store(head + 1, std::memory_order_release);
        return word;
    }
    // Consumer side: sleeps until the queue holds a message or wake() was called.
    void waitForWord()
    {
        const std::uint32_t events = m_events.load(std::memory_order_acquire);
        // Announced before the check: a push after the check sees it and changes m_events.
        m_sleeping.store(true, std::memory_order_seq_cst);
        if (m_head.load(std::memory_order_relaxed) == m_tail.load(std::memory_order_seq_cst)
            && !m_woken.exchange(false))
            m_events.wait(events, std::memory_order_acquire);
        m_sleeping.store(false, std::memory_order_relaxed);
    }
    // Any thread: ends the consumer's wait under way, or the next one.
    void wake()
    {
        m_woken.store(true);
        m_events.fetch_add(1, std::memory_order_release);
        m_events.notify_all();
    }

    // Messages dropped because the consumer fell behind; the consumer may subtract what it reported.
    std::uint32_t dropped() const { return m_dropped.load(std::memory_order_relaxed); }

private:
    std::array<std::uint32_t, Capacity> m_slots{};
    alignas(64) std::atomic<std::uint32_t> m_head{0};
    alignas(64) std::atomic<std::uint32_t> m_tail{0};
    std::atomic<std::uint32_t> m_dropped{0};
    std::atomic<std::uint32_t> m_events{0}; // changes with every push seen asleep and every wake
    std::atomic<bool> m_sleeping{false};
    std::atomic<bool> m_woken{false};
};

} // namespace lumo
