// How a thread that waits for the controller is woken: the input callback notifies after every
// message, and a cancel (the window's Esc or close button, a signal to `lumo`) notifies too. The
// waiter sleeps on a semaphore until one of them comes or its bound has passed; it neither spins
// nor sleeps in steps. notify() is safe on a real-time thread: one atomic exchange, and a
// semaphore release (a futex wake, no lock) only when someone waits.
#pragma once

#include <atomic>
#include <chrono>
#include <climits>
#include <semaphore>

namespace lumo {

class ReplySignal {
public:
    enum class Woken { Arrived, TimedOut, Cancelled };

    // After a message was stored; any thread, the MIDI thread included.
    void notify()
    {
        if (m_waiting.exchange(false, std::memory_order_acq_rel))
            m_wake.release();
    }
    // Ends the wait under way and every later one until resetCancel(); any thread.
    void cancel()
    {
        m_cancelled.store(true);
        m_waiting.store(true);
        notify();
    }
    void resetCancel() { m_cancelled.store(false); }
    bool cancelled() const { return m_cancelled.load(); }
    const std::atomic<bool>* cancelFlag() const { return &m_cancelled; }

    // Until `arrived()` holds, the link is cancelled, or `timeout` has passed. One waiter at a
    // time.
    template <typename Predicate>
    Woken waitFor(Predicate&& arrived, std::chrono::nanoseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            // Announced before the check: a message stored after the check finds the flag set
            // and releases the semaphore, so its notify cannot get lost.
            m_waiting.store(true, std::memory_order_seq_cst);
            if (arrived())
                return Woken::Arrived;
            if (m_cancelled.load())
                return Woken::Cancelled;
            // A release left over from an earlier wait only makes this loop look once more.
            if (!m_wake.try_acquire_until(deadline))
                return arrived() ? Woken::Arrived : m_cancelled.load() ? Woken::Cancelled : Woken::TimedOut;
        }
    }

private:
    std::atomic<bool> m_waiting{false};
    std::counting_semaphore<INT_MAX> m_wake{0};
    std::atomic<bool> m_cancelled{false};
};

} // namespace lumo
