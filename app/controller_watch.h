// Whether the controller is there, for the window: a port watcher on the link's ports whose
// changes reach this object's thread queued. The pair it watches is the one in use (the last
// search found it, or it was chosen); "present" means both its ports are listed now.
#pragma once

#include "device/device_link.h"

#include <QObject>
#include <QString>

#include <memory>

namespace lumo {

class MidiPorts;
class PortWatcher;
struct PortChange;

class ControllerWatch : public QObject {
    Q_OBJECT
public:
    // Watches from start() on; `ports` must outlive this object.
    explicit ControllerWatch(MidiPorts& ports, QObject* parent = nullptr);
    ~ControllerWatch() override;

    // Starts the port watcher, whose first look opens the MIDI system; later calls do nothing.
    void start();

    // The pair whose presence is reported; empty: none is (always absent). This object's thread.
    void setPair(const PortPair& pair);
    const PortPair& pair() const { return m_pair; }
    bool present() const { return m_present; }
    bool systemUp() const { return m_systemUp; }
    // The name the status shows for the pair: its input port (the controller's own output).
    static QString portName(const PortPair& pair) { return QString::fromStdString(pair.input); }

signals:
    // The pair came or went, or another pair was set: "Controller: PORT NAME" / "No controller".
    void presenceChanged(bool present, const QString& portName);
    // Any port appeared or vanished (the lists a "Controller" submenu may show changed).
    void portsChanged();
    // The MIDI system went away, or answers again (after a JACK restart, or a server started
    // after the program). The link's ports reopen on their own on the next call.
    void systemGone();
    void systemBack();

private:
    void take(const PortChange& change);
    void updatePresence();

    MidiPorts& m_ports;
    std::unique_ptr<PortWatcher> m_watcher;
    PortPair m_pair;
    std::vector<std::string> m_outputs;
    std::vector<std::string> m_inputs;
    bool m_present = false;
    bool m_systemUp = false;
    bool m_reported = false;
};

} // namespace lumo
