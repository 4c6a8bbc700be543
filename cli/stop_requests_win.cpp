// Requests to stop on Windows: the console's control handler (Ctrl+C, Ctrl+Break, the window
// closed, log-off, shut-down) hands the request to the waiting thread and tells the system that
// it is taken.
#include "cli/stop_requests.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <condition_variable>
#include <mutex>

namespace lumo::cli {

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
bool g_requested = false;
bool g_woken = false;

BOOL WINAPI onControl(DWORD)
{
    {
        std::lock_guard lock(g_mutex);
        g_requested = true;
    }
    g_changed.notify_all();
    return TRUE;
}

} // namespace

void HoldStopRequests()
{
    SetConsoleCtrlHandler(onControl, TRUE);
}

bool WaitForStopRequest()
{
    std::unique_lock lock(g_mutex);
    g_changed.wait(lock, [] { return g_requested || g_woken; });
    const bool requested = g_requested;
    g_requested = g_woken = false;
    return requested;
}

void WakeStopWait(std::thread&)
{
    {
        std::lock_guard lock(g_mutex);
        g_woken = true;
    }
    g_changed.notify_all();
}

} // namespace lumo::cli
