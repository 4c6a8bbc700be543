// The port watcher's changes, from its thread to the window's, and the presence of the pair.
#include "app/controller_watch.h"

#include "device/port_watcher.h"

#include <QMetaObject>

namespace lumo {

ControllerWatch::ControllerWatch(MidiPorts& ports, QObject* parent)
    : QObject(parent)
    , m_ports(ports)
{
}

void ControllerWatch::start()
{
    if (m_watcher)
        return;
    // The handler runs on the watcher's thread and only posts; the watcher is joined in the
    // destructor before `this` goes, and a posted call that comes later finds no object.
    m_watcher = std::make_unique<PortWatcher>(m_ports, [this](const PortChange& change) {
        QMetaObject::invokeMethod(this, [this, change] { take(change); }, Qt::QueuedConnection);
    });
}

ControllerWatch::~ControllerWatch()
{
    m_watcher.reset();
}

void ControllerWatch::setPair(const PortPair& pair)
{
    if (pair == m_pair && m_reported)
        return;
    m_pair = pair;
    m_reported = false;
    updatePresence();
}

void ControllerWatch::take(const PortChange& change)
{
    m_outputs = change.now.outputs;
    m_inputs = change.now.inputs;
    switch (change.kind) {
    case PortChange::SystemGone:
        m_systemUp = false;
        emit systemGone();
        break;
    case PortChange::SystemBack:
        m_systemUp = true;
        emit systemBack();
        break;
    case PortChange::PortsChanged:
        break;
    }
    emit portsChanged();
    updatePresence();
}

void ControllerWatch::updatePresence()
{
    const bool present = m_systemUp && PairPresent(m_pair, {true, m_outputs, m_inputs});
    if (present == m_present && m_reported)
        return;
    m_present = present;
    m_reported = true;
    emit presenceChanged(present, present ? portName(m_pair) : QString());
}

} // namespace lumo
