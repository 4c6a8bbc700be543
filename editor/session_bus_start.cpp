#include "editor/session_bus_start.h"

#if defined(LUMO_HAVE_QT_DBUS)
#include <QDBusConnection>
#endif

namespace lumo {

SessionBusStart::SessionBusStart()
{
#if defined(LUMO_HAVE_QT_DBUS)
    m_connecting = std::thread([] { QDBusConnection::sessionBus(); });
#endif
}

SessionBusStart::~SessionBusStart()
{
    if (m_connecting.joinable())
        m_connecting.join();
}

} // namespace lumo
