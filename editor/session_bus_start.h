// The connection to the desktop's session bus, begun as soon as the application object exists.
#pragma once

#include <thread>

namespace lumo {

// The screen readers' bridge connects to the session bus when the window's first widget
// changes, and waits for the connection: a round trip to the bus, or where no bus runs, an
// attempt to start one (several milliseconds). Begun on a thread of its own, it is ready by
// then. Joined when this object goes, before the application object does.
class SessionBusStart {
public:
    SessionBusStart();
    ~SessionBusStart();
    SessionBusStart(const SessionBusStart&) = delete;
    SessionBusStart& operator=(const SessionBusStart&) = delete;

private:
    std::thread m_connecting;
};

} // namespace lumo
