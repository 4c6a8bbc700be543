// An in-process MIDI system for the tests and the benchmarks: named output and input ports, each
// wired to a simulated device or to nothing, replies delivered to the open input (which may
// listen to several ports) either at once on the sender's thread or on a delivery thread of its
// own (with an optional delay). It records every open, close and send, and can be told to fail
// opens and sends, to let ports vanish, and to listen to one input at a time only.
#pragma once

#include "device/midi_ports.h"
#include "device/virtual_controller.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace lumo {

class SimulatedPorts : public MidiPorts {
public:
    enum class Delivery { Inline, Thread };
    using Reply = std::function<void(std::uint32_t word)>;
    // A device gets every word sent to an output wired to it and answers through `reply`.
    using DeviceHandler = std::function<void(std::uint32_t word, const Reply& reply)>;

    struct Event {
        enum Kind { OpenOutput, CloseOutput, OpenInput, CloseInput, Send };
        Kind kind;
        int port;               // the output for sends; the first input listened to
        std::uint32_t word = 0; // sends only
        bool operator==(const Event&) const = default;
    };

    explicit SimulatedPorts(Delivery delivery = Delivery::Inline);
    ~SimulatedPorts() override;

    // Returns the device's id; `delay` comes before each reply is delivered (Thread delivery).
    int addDevice(DeviceHandler handler, std::function<std::chrono::microseconds()> delay = {});
    // Wires a controller in; its misbehaviour().replyDelay is honoured.
    int addController(VirtualController& controller);
    // device -1: a port with nothing behind it.
    int addOutput(std::string name, int device);
    int addInput(std::string name, int device);

    void failOpenOutput(int port) { m_failingOutputs.insert(port); }
    void failOpenInput(int port) { m_failingInputs.insert(port); }
    // The n-th send from now (0 = the next) returns a failure.
    void failSendAfter(int sends) { m_sendsBeforeFailure = sends; }
    // No ports listed while hidden, as when the devices are unplugged; open ports keep working.
    void hidePorts(bool hidden) { m_hidden = hidden; notifyChange(); }
    // Unplugged: no ports listed, and the open connections are gone for good, as JACK drops
    // them with the port; plugged in again the ports are listed under their old names, but
    // nothing reaches the link until it opens them anew.
    void replug(bool present);
    // The system stops ("none") or answers again; its open connections are gone.
    void setSystemUp(bool up);
    // Like a MIDI system that connects one input port to one source only.
    void listenToOneOnly() { m_oneOnly = true; }
    // Like JACK: one output may be connected to several ports (sendsToMany()).
    void sendToMany() { m_many = true; }
    // Each open input, by number: the numbers of the ports it listens to.
    std::vector<std::vector<int>> inputsListened() const;
    // A message arriving on an input port unasked, as when the user plays the controller.
    void inject(int inputPort, std::uint32_t word);

    std::vector<Event> events() const;
    std::vector<std::uint32_t> sentWords() const;
    void clearEvents();
    // Waits until every queued reply has been delivered (Thread delivery).
    void drain();

    std::string systemName() const override { return m_systemUp ? "simulated" : "none"; }
    bool connectionsLive() override;
    void setChangeNotifier(std::function<void()> notify) override;
    bool notifiesChanges() const override { return true; }
    std::vector<std::string> outputNames() override;
    std::vector<std::string> inputNames() override;
    bool openOutput(const std::string& name) override;
    bool openOutputs(const std::vector<std::string>& names) override;
    bool sendsToMany() const override { return m_many; }
    void closeOutput() override;
    bool openInput(const std::vector<std::string>& names, MidiInputCallback callback) override;
    void closeInput() override;
    bool listensToMany() const override { return !m_oneOnly; }
    int send(std::uint32_t word) override;

private:
    struct Port {
        std::string name;
        int device;
    };
    struct Device {
        DeviceHandler handler;
        std::function<std::chrono::microseconds()> delay;
    };
    struct Pending {
        std::chrono::steady_clock::time_point due;
        int device;
        std::uint32_t word;
    };

    void notifyChange();
    void sendTo(int device, std::uint32_t word);
    void deliver(int device, std::uint32_t word);
    void deliverLocked(int device, std::uint32_t word);
    void deliveryLoop();

    Delivery m_delivery;
    std::vector<Port> m_outputs;
    std::vector<Port> m_inputs;
    std::vector<Device> m_devices;
    std::set<int> m_failingOutputs;
    std::set<int> m_failingInputs;
    int m_sendsBeforeFailure = -1;
    int m_openOutput = -1;
    std::atomic<bool> m_hidden{false};
    std::atomic<bool> m_systemUp{true};
    std::atomic<bool> m_outputDropped{false};
    std::atomic<bool> m_inputDropped{false};
    std::mutex m_notifierMutex;
    std::function<void()> m_notifier;
    bool m_oneOnly = false;
    bool m_many = false;
    std::vector<int> m_otherOutputs; // connected beside m_openOutput (sendToMany)

    mutable std::mutex m_mutex; // guards the events, the open input and its callback, the queue
    std::condition_variable m_wake;
    std::vector<Event> m_events;
    std::vector<int> m_openInputs;
    std::vector<std::vector<int>> m_inputsListened;
    MidiInputCallback m_callback;
    std::deque<Pending> m_queue;
    std::atomic<int> m_queued{0}; // replies ever queued; polled without the lock while awake
    static constexpr std::chrono::microseconds kStayAwake{200};
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace lumo
