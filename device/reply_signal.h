// How a thread that waits for the controller is woken: the input callback notifies after every
// message, and a cancel (the window's Esc or close button, a signal to `lumo`) notifies too. The
// waiter sleeps on a condition variable until one of them comes or its bound has passed; it
// neither spins nor sleeps in steps.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lumo {

class ReplySignal {
public:
    enum class Woken { Arrived, TimedOut, Cancelled };

    // After a message was stored; any thread. The lock is held only for the hand-over, never
    // while anyone waits for anything else.
    void notify()
    {
        { std::lock_guard lock(m_mutex); }
        m_changed.notify_all();
    }
    // Ends the wait under way and every later one until resetCancel(); any thread.
    void cancel()
    {
        m_cancelled.store(true);
        notify();
    }
    void resetCancel() { m_cancelled.store(false); }
    bool cancelled() const { return m_cancelled.load(); }

    // Until `arrived()` holds, the link is cancelled, or `timeout` has passed.
    template <typename Predicate>
    Woken waitFor(Predicate&& arrived, std::chrono::nanoseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::unique_lock lock(m_mutex);
        for (;;) {
            // Checked under the lock: a notify after the check cannot get lost.
            if (arrived())
                return Woken::Arrived;
            if (m_cancelled.load())
                return Woken::Cancelled;
            if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout)
                return arrived() ? Woken::Arrived : m_cancelled.load() ? Woken::Cancelled : Woken::TimedOut;
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::atomic<bool> m_cancelled{false};
};

} // namespace lumo
