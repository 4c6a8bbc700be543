// The controller's messages, from the MIDI system's thread to the listener's, queued.
#include "app/controller_listener.h"

#include "device/device_link.h"

namespace lumo {

ControllerListener::ControllerListener(QObject* parent)
    : QObject(parent)
{
}

ControllerListener::~ControllerListener()
{
    stop();
}

void ControllerListener::listen(DeviceLink& link)
{
    stop();
    m_link = &link;
    const quint64 round = ++m_round;
    // Runs on the MIDI system's thread: it only posts. stop() waits for a call under way, so
    // `this` is alive whenever it runs.
    link.setListener([this, round](std::uint32_t word) {
        QMetaObject::invokeMethod(this, [this, round, word] {
            if (m_link && m_round == round)
                emit received(word);
        }, Qt::QueuedConnection);
    });
}

void ControllerListener::stop()
{
    if (!m_link)
        return;
    m_link->setListener({});
    m_link = nullptr;
}

} // namespace lumo
