// How a thread that waits for the controller is woken: the input callback notifies after every
// message, and a cancel (the window's Esc or close button, a signal to `lumo`) notifies too. The
// waiter sleeps on a futex (a semaphore elsewhere) until one of them comes or its bound has
// passed; it neither spins nor sleeps in steps. notify() is safe on a real-time thread: one
// atomic exchange, and a wake (an atomic add and a futex wake, no lock) only when someone waits.
#pragma once

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <semaphore>

#if defined(__linux__)
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace lumo {

class ReplySignal {
public:
    enum class Woken { Arrived, TimedOut, Cancelled };

    // After a message was stored; any thread, the MIDI thread included.
    void notify()
    {
        if (m_waiting.exchange(false, std::memory_order_acq_rel))
            wake();
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
            // A wake left over from an earlier wait only makes this loop look once more.
            if (!sleepUntil(deadline))
                return arrived() ? Woken::Arrived : m_cancelled.load() ? Woken::Cancelled : Woken::TimedOut;
        }
    }

private:
#if defined(__linux__)
    // A futex on a counter of wakes: the semaphore of the C++ library spins and yields before
    // it sleeps, which costs a read more processor time than the whole rest of its wait.
    void wake()
    {
        m_wakes.fetch_add(1, std::memory_order_release);
        syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&m_wakes), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
    }
    // False once the deadline has passed; true on a wake (or a spurious return).
    bool sleepUntil(std::chrono::steady_clock::time_point deadline)
    {
        const std::uint32_t seen = m_wakes.load(std::memory_order_acquire);
        if (seen != m_consumed) {
            m_consumed = seen;
            return true;
        }
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return false;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec relative{time_t(ns / 1000000000), long(ns % 1000000000)};
        syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&m_wakes), FUTEX_WAIT_PRIVATE, seen, &relative, nullptr, 0);
        m_consumed = m_wakes.load(std::memory_order_acquire);
        return std::chrono::steady_clock::now() < deadline || m_consumed != seen;
    }
    std::atomic<std::uint32_t> m_wakes{0};
    std::uint32_t m_consumed = 0; // the waiter's own
    static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));
#else
    void wake() { m_wake.release(); }
    bool sleepUntil(std::chrono::steady_clock::time_point deadline) { return m_wake.try_acquire_until(deadline); }
    std::counting_semaphore<INT_MAX> m_wake{0};
#endif
    std::atomic<bool> m_waiting{false};
    std::atomic<bool> m_cancelled{false};
};

} // namespace lumo
