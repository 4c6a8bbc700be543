// A call into the MIDI system that is given up on: the caller goes on, the job finishes on its
// own thread and releases what it owns there.
#include "device/bounded_call.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace lumo {
namespace {

using namespace std::chrono_literals;

TEST(RunBounded, AJobThatEndsInTimeIsReportedAndItsEffectsAreSeen)
{
    int value = 0;
    EXPECT_TRUE(RunBounded([&value] { value = 42; }, 10s));
    EXPECT_EQ(value, 42);
}

TEST(RunBounded, AJobStillBlockedIsLeftToFinishAndReleasesWhatItOwnsOnItsOwnThread)
{
    // The job blocks until released; it can only be released after RunBounded has returned, so
    // a RunBounded that waited for it would never return true here, and one that waited without
    // a bound would not return at all (the 30 s inside the job keeps a broken build from hanging).
    auto release = std::make_shared<std::promise<void>>();
    auto owned = std::make_shared<int>(7);
    const std::weak_ptr<int> watch = owned;
    // Shared with the job, which may outlive this test if it fails.
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto releasedOnCaller = std::make_shared<std::atomic<bool>>(false);
    struct Probe {
        std::thread::id caller;
        std::shared_ptr<std::atomic<bool>> onCaller;
        ~Probe() { *onCaller = std::this_thread::get_id() == caller; }
    };
    auto probe = std::make_shared<Probe>();
    probe->caller = std::this_thread::get_id();
    probe->onCaller = releasedOnCaller;

    auto released = release->get_future();
    const bool inTime = RunBounded([owned = std::move(owned), probe = std::move(probe), finished,
                                    released = released.share()] {
        released.wait_for(30s);
        *finished = true;
    }, 50ms);
    EXPECT_FALSE(inTime);
    EXPECT_FALSE(*finished);
    EXPECT_FALSE(watch.expired()) << "the job's captures must live as long as the job";

    release->set_value();
    for (int i = 0; i < 3000 && !watch.expired(); ++i)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(*finished);
    EXPECT_TRUE(watch.expired()) << "the job's captures were not released when it ended";
    EXPECT_FALSE(*releasedOnCaller) << "the job's captures were released on the caller's thread";
}

} // namespace
} // namespace lumo
