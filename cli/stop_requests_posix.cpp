// Requests to stop on POSIX: the signals are blocked everywhere and taken by sigwait; SIGUSR2,
// sent to the waiting thread alone, only wakes it.
#include "cli/stop_requests.h"

#include <pthread.h>

#include <csignal>

namespace lumo::cli {

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGUSR2);
    return set;
}

} // namespace

void HoldStopRequests()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool WaitForStopRequest()
{
    const sigset_t set = stopSignals();
    int signal = 0;
    sigwait(&set, &signal);
    return signal != SIGUSR2;
}

void WakeStopWait(std::thread& waiter)
{
    pthread_kill(waiter.native_handle(), SIGUSR2);
}

} // namespace lumo::cli
