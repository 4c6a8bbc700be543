// The port watcher's thread: one look at the lists per notification or interval.
#include "device/port_watcher.h"

#include "device/device_link.h"

#include <algorithm>
#include <utility>

namespace lumo {

bool PairPresent(const PortPair& pair, const PortSnapshot& snapshot)
{
    auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    return !pair.empty() && listed(snapshot.outputs, pair.output) && listed(snapshot.inputs, pair.input);
}

PortWatcher::PortWatcher(MidiPorts& ports, Handler handler, std::chrono::milliseconds interval)
    : m_ports(ports)
    , m_handler(std::move(handler))
    , m_interval(interval)
{
    m_ports.setChangeNotifier([this] { lookNow(); });
    m_thread = std::thread([this] { run(); });
}

PortWatcher::~PortWatcher()
{
    m_ports.setChangeNotifier({});
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void PortWatcher::lookNow()
{
    {
        std::lock_guard lock(m_mutex);
        m_lookNow = true;
    }
    m_wake.notify_all();
}

PortSnapshot PortWatcher::last() const
{
    std::lock_guard lock(m_mutex);
    return m_last;
}

void PortWatcher::run()
{
    for (;;) {
        // Outside the lock: a list may take the system a moment, and lookNow() must not wait.
        PortSnapshot now;
        now.systemUp = m_ports.systemName() != "none";
        if (now.systemUp) {
            now.outputs = m_ports.outputNames();
            now.inputs = m_ports.inputNames();
            // The lists of a server that stopped meanwhile are not its lists.
            now.systemUp = m_ports.systemName() != "none";
            if (!now.systemUp)
                now = {};
        }
        PortSnapshot before;
        bool first = false;
        {
            std::lock_guard lock(m_mutex);
            before = m_last;
            first = !m_looked;
            m_last = now;
            m_looked = true;
        }
        if (first || now.systemUp != before.systemUp)
            m_handler({now.systemUp ? PortChange::SystemBack : PortChange::SystemGone, now});
        else if (now.systemUp && now != before)
            m_handler({PortChange::PortsChanged, now});

        std::unique_lock lock(m_mutex);
        // A notifying system is still looked at now and then: a server that stopped without
        // its shutdown callback (killed), or one that came back, notifies nobody.
        m_wake.wait_for(lock, m_interval, [this] { return m_stop || m_lookNow; });
        if (m_stop)
            return;
        const bool notified = std::exchange(m_lookNow, false);
        lock.unlock();
        // A burst of notifications (a client registering its ports) makes one look.
        if (notified)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace lumo
