// Ctrl+C and the other requests to stop (SIGINT, SIGTERM, SIGHUP; the console's control events
// on Windows), taken by a thread of the tool's choosing instead of ending the program at once.
// One implementation per platform: stop_requests_posix.cpp, stop_requests_win.cpp.
#pragma once

#include <thread>

namespace lumo::cli {

// From now on a request to stop waits for WaitForStopRequest. On POSIX the signals are blocked
// for the calling thread and every thread it starts afterwards (the MIDI system's among them),
// so call it before any other thread starts.
void HoldStopRequests();

// Waits for a request to stop; false when WakeStopWait ended the wait instead.
bool WaitForStopRequest();

// Ends the WaitForStopRequest that `waiter` runs or is about to run.
void WakeStopWait(std::thread& waiter);

} // namespace lumo::cli
