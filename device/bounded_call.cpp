// A job on a detached thread, waited for up to a bound; the count of jobs still running.
#include "device/bounded_call.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace lumo {
namespace {

// Never freed: a job given up on may end after main, and must still find it.
struct Running {
    std::mutex mutex;
    std::condition_variable ended;
    int jobs = 0;
};
Running& running()
{
    static auto* state = new Running;
    return *state;
}

} // namespace

bool RunBounded(std::function<void()> job, std::chrono::milliseconds bound)
{
    struct State {
        std::mutex mutex;
        std::condition_variable doneChanged;
        bool done = false;
    };
    auto state = std::make_shared<State>();
    Running& all = running();
    {
        std::lock_guard lock(all.mutex);
        ++all.jobs;
    }
    try {
        std::thread([state, &all, job = std::move(job)]() mutable {
            job();
            // Whatever the job owned goes here, on this thread, not on the caller's.
            job = nullptr;
            {
                std::lock_guard lock(state->mutex);
                state->done = true;
                state->doneChanged.notify_all();
            }
            std::lock_guard lock(all.mutex);
            --all.jobs;
            all.ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(all.mutex);
        --all.jobs;
        return false; // no thread: the job was never run
    }
    std::unique_lock lock(state->mutex);
    return state->doneChanged.wait_for(lock, bound, [&] { return state->done; });
}

bool FinishBoundedJobs(std::chrono::milliseconds bound)
{
    Running& all = running();
    std::unique_lock lock(all.mutex);
    return all.ended.wait_for(lock, bound, [&] { return all.jobs == 0; });
}

} // namespace lumo
