// The controller's messages, from the MIDI system's thread through a lock-free queue to a drain
// thread, and from there to the listener's thread, queued.
#include "app/controller_listener.h"

#include "device/device_link.h"

#include <atomic>

namespace lumo {

struct ControllerListener::Drain {
    ListenerQueue queue;
    std::atomic<bool> stop{false};
    std::thread thread;
};

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
    m_drain = std::make_unique<Drain>();
    Drain* drain = m_drain.get();
    drain->thread = std::thread([this, drain, round] {
        while (!drain->stop.load()) {
            drain->queue.waitForWord();
            while (const std::optional<std::uint32_t> word = drain->queue.pop()) {
                // stop() joins this thread before `this` could go; the posted call checks the
                // round, so a message of an earlier listening is dropped.
                QMetaObject::invokeMethod(this, [this, round, word = *word] {
                    if (m_link && m_round == round)
                        emit received(word);
                }, Qt::QueuedConnection);
            }
        }
    });
    link.setListenerQueue(&drain->queue);
}

void ControllerListener::stop()
{
    if (!m_link)
        return;
    m_link->setListenerQueue(nullptr);
    m_link = nullptr;
    m_drain->stop.store(true);
    m_drain->queue.wake();
    m_drain->thread.join();
    m_drain.reset();
}

} // namespace lumo
