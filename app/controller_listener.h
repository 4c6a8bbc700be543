// Hands what the controller sends to the thread of one object, queued: the window follows the
// controller with it. The MIDI system calls the link's listener on a thread of its own; only a
// queued call crosses over, so nothing of the window is touched there.
#pragma once

#include <QObject>

#include <cstdint>

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
    DeviceLink* m_link = nullptr;
    // Counts listen() calls, so that a message queued before a stop() is not taken afterwards.
    quint64 m_round = 0;
};

} // namespace lumo
