// A job on a detached thread, waited for up to a bound.
#include "device/bounded_call.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace lumo {

bool RunBounded(std::function<void()> job, std::chrono::milliseconds bound)
{
    struct State {
        std::mutex mutex;
        std::condition_variable doneChanged;
        bool done = false;
    };
    auto state = std::make_shared<State>();
    try {
        std::thread([state, job = std::move(job)]() mutable {
            job();
            // Whatever the job owned goes here, on this thread, not on the caller's.
            job = nullptr;
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->doneChanged.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return false; // no thread: the job was never run
    }
    std::unique_lock lock(state->mutex);
    return state->doneChanged.wait_for(lock, bound, [&] { return state->done; });
}

} // namespace lumo
