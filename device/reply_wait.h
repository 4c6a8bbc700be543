// Waiting for a reply from the controller: bounded in time, not in polls, and without holding
// a core. A reply that comes at once is seen within microseconds (short spin); a slow one is
// polled with sleeps that grow from 50 us to 1 ms, so a wait costs well under 1 % of a core.
#pragma once

#include <chrono>
#include <thread>

namespace lumo {

// The longest that the device link waits for any one reply.
inline constexpr std::chrono::milliseconds kReplyTimeout{1000};

namespace detail {
inline constexpr std::chrono::microseconds kSpinTime{50};
inline constexpr std::chrono::microseconds kFirstSleep{50};
inline constexpr std::chrono::microseconds kLongestSleep{1000};

inline void cpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}
} // namespace detail

// Polls `arrived` until it returns true (result true) or `timeout` has passed (result false).
template <typename Predicate>
bool WaitForReply(Predicate&& arrived, std::chrono::nanoseconds timeout = kReplyTimeout)
{
    using Clock = std::chrono::steady_clock;
    if (arrived())
        return true;
    const auto start = Clock::now();
    const auto deadline = start + timeout;
    const auto spinUntil = start + detail::kSpinTime;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (arrived())
                return true;
            detail::cpuRelax();
        }
        const auto now = Clock::now();
        if (now >= deadline)
            return arrived();
        if (now >= spinUntil)
            break;
    }
    auto sleep = std::chrono::duration_cast<std::chrono::nanoseconds>(detail::kFirstSleep);
    for (;;) {
        const auto now = Clock::now();
        if (now >= deadline)
            return arrived();
        std::this_thread::sleep_for(std::min<std::chrono::nanoseconds>(sleep, deadline - now));
        if (arrived())
            return true;
        sleep = std::min<std::chrono::nanoseconds>(sleep * 2, detail::kLongestSleep);
    }
}

} // namespace lumo
