// A call into a MIDI system that may block for a long time: a JACK server that still waits for
// a killed client answers no request until it gives up on it (about 9 s in synchronous mode with
// the default 500 ms client timeout), and closing or opening a port is such a request.
#pragma once

#include <chrono>
#include <functional>

namespace lumo {

// Runs `job` on a thread of its own and waits at most `bound` for it. True when it finished in
// time. Otherwise it runs on and its thread ends by itself when the job returns; the job must
// therefore own (shared) everything it touches, and the caller must not touch it any more.
bool RunBounded(std::function<void()> job, std::chrono::milliseconds bound);

// Waits at most `bound` for the jobs that RunBounded gave up on; true when none runs any more.
// A program calls it before main returns and, when it fails, ends with std::_Exit: static
// objects (the MIDI libraries' own among them) are then never freed under a running job.
bool FinishBoundedJobs(std::chrono::milliseconds bound);

} // namespace lumo
