// Hands what the controller sends to the thread of one object, queued: the window follows the
// controller with it. On the MIDI system's thread the link only pushes each message on a
// fixed-size lock-free queue; a drain thread of this object's own takes them off and posts
// them to this object's thread, so nothing of Qt or the window is touched on the MIDI thread.
#pragma once

#include <QObject>

#include <cstdint>
#include <memory>
#include <thread>

namespace lumo {

class DeviceLink;

class ControllerListener : public QObject {
    Q_OBJECT
public:
    explicit ControllerListener(QObject* parent = nullptr);
    // Stops listening: no call of the link's listener is under way once it has gone.
    ~ControllerListener() override;

    // From now on every message of the link's held input arrives as received(), on this
    // object's thread. `link` must outlive the listening: stop() or the end of this object.
    void listen(DeviceLink& link);
    // Stops listening; the link's ports stay as they are. A message still queued is dropped.
    void stop();
    bool listening() const { return m_link != nullptr; }

signals:
    void received(quint32 word);

private:
    struct Drain;
    DeviceLink* m_link = nullptr;
    std::unique_ptr<Drain> m_drain;
    // Counts listen() calls, so that a message queued before a stop() is not taken afterwards.
    quint64 m_round = 0;
};

} // namespace lumo
