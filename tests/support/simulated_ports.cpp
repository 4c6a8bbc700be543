// The in-process MIDI system: port wiring, reply delivery and the event log.
#include "tests/support/simulated_ports.h"

#include <algorithm>

namespace lumo {

SimulatedPorts::SimulatedPorts(Delivery delivery)
    : m_delivery(delivery)
    , m_thread([this] { deliveryLoop(); })
{
}

SimulatedPorts::~SimulatedPorts()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

int SimulatedPorts::addDevice(DeviceHandler handler, std::function<std::chrono::microseconds()> delay)
{
    m_devices.push_back({std::move(handler), std::move(delay)});
    return int(m_devices.size()) - 1;
}

int SimulatedPorts::addController(VirtualController& controller)
{
    return addDevice([&controller](std::uint32_t word, const Reply& reply) { controller.receive(word, reply); },
                     [&controller] { return controller.misbehaviour().replyDelay; });
}

int SimulatedPorts::addOutput(std::string name, int device)
{
    m_outputs.push_back({std::move(name), device});
    return int(m_outputs.size()) - 1;
}

int SimulatedPorts::addInput(std::string name, int device)
{
    m_inputs.push_back({std::move(name), device});
    return int(m_inputs.size()) - 1;
}

namespace {
int indexOf(const auto& ports, const std::string& name)
{
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i].name == name)
            return int(i);
    return -1;
}
std::vector<std::string> namesOf(const auto& ports, bool hidden)
{
    std::vector<std::string> names;
    if (!hidden)
        for (const auto& port : ports)
            names.push_back(port.name);
    return names;
}
} // namespace

std::vector<std::string> SimulatedPorts::outputNames() { return namesOf(m_outputs, m_hidden || !m_systemUp); }
std::vector<std::string> SimulatedPorts::inputNames() { return namesOf(m_inputs, m_hidden || !m_systemUp); }

void SimulatedPorts::setChangeNotifier(std::function<void()> notify)
{
    std::lock_guard lock(m_notifierMutex);
    m_notifier = std::move(notify);
}

void SimulatedPorts::notifyChange()
{
    std::lock_guard lock(m_notifierMutex);
    if (m_notifier)
        m_notifier();
}

bool SimulatedPorts::connectionsLive()
{
    std::lock_guard lock(m_mutex);
    return m_openOutput >= 0 && !m_openInputs.empty() && !m_outputDropped && !m_inputDropped;
}

void SimulatedPorts::replug(bool present)
{
    if (!present) {
        m_outputDropped = m_openOutput >= 0;
        std::lock_guard lock(m_mutex);
        m_inputDropped = !m_openInputs.empty();
    }
    m_hidden = !present;
    notifyChange();
}

void SimulatedPorts::setSystemUp(bool up)
{
    if (!up) {
        m_outputDropped = m_openOutput >= 0;
        std::lock_guard lock(m_mutex);
        m_inputDropped = !m_openInputs.empty();
    }
    m_systemUp = up;
    notifyChange();
}

bool SimulatedPorts::openOutput(const std::string& name)
{
    const int port = m_hidden || !m_systemUp ? -1 : indexOf(m_outputs, name);
    if (port < 0 || m_failingOutputs.count(port) || m_openOutput >= 0)
        return false;
    m_openOutput = port;
    m_outputDropped = false;
    std::lock_guard lock(m_mutex);
    m_events.push_back({Event::OpenOutput, port});
    return true;
}

bool SimulatedPorts::openOutputs(const std::vector<std::string>& names)
{
    if (names.size() == 1 || !m_many)
        return MidiPorts::openOutputs(names);
    std::vector<int> others;
    for (std::size_t n = 1; n < names.size(); ++n) {
        const int port = m_hidden || !m_systemUp ? -1 : indexOf(m_outputs, names[n]);
        if (port < 0 || m_failingOutputs.count(port))
            return false;
        others.push_back(port);
    }
    if (!openOutput(names.front()))
        return false;
    m_otherOutputs = std::move(others);
    return true;
}

void SimulatedPorts::closeOutput()
{
    std::lock_guard lock(m_mutex);
    if (m_openOutput >= 0)
        m_events.push_back({Event::CloseOutput, m_openOutput});
    m_openOutput = -1;
    m_otherOutputs.clear();
}

bool SimulatedPorts::openInput(const std::vector<std::string>& names, MidiInputCallback callback)
{
    std::lock_guard lock(m_mutex);
    if (names.empty() || !m_openInputs.empty() || (m_oneOnly && names.size() > 1))
        return false;
    std::vector<int> ports;
    for (const std::string& name : names) {
        const int port = m_hidden || !m_systemUp ? -1 : indexOf(m_inputs, name);
        if (port < 0 || m_failingInputs.count(port))
            return false;
        ports.push_back(port);
    }
    m_openInputs = ports;
    m_inputDropped = false;
    m_inputsListened.push_back(ports);
    m_callback = std::move(callback);
    m_events.push_back({Event::OpenInput, ports.front()});
    return true;
}

void SimulatedPorts::closeInput()
{
    // Under the lock: once this returns, no delivery is running or will reach the old callback.
    std::lock_guard lock(m_mutex);
    if (!m_openInputs.empty())
        m_events.push_back({Event::CloseInput, m_openInputs.front()});
    m_openInputs.clear();
    m_callback = nullptr;
}

std::vector<std::vector<int>> SimulatedPorts::inputsListened() const
{
    std::lock_guard lock(m_mutex);
    return m_inputsListened;
}

int SimulatedPorts::send(std::uint32_t word)
{
    if (m_openOutput < 0)
        return 1;
    if (m_sendsBeforeFailure >= 0 && m_sendsBeforeFailure-- == 0)
        return 1;
    const int port = m_openOutput;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back({Event::Send, port, word});
    }
    if (m_outputDropped)
        return 0;
    std::set<int> devices{m_outputs[std::size_t(port)].device};
    for (const int other : m_otherOutputs)
        devices.insert(m_outputs[std::size_t(other)].device);
    for (const int device : devices)
        if (device >= 0)
            sendTo(device, word);
    return 0;
}

void SimulatedPorts::sendTo(int device, std::uint32_t word)
{
    const Device& target = m_devices[std::size_t(device)];
    const auto delay = target.delay ? target.delay() : std::chrono::microseconds(0);
    target.handler(word, [this, device, delay](std::uint32_t reply) {
        if (m_delivery == Delivery::Inline && delay.count() == 0) {
            deliver(device, reply);
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back({std::chrono::steady_clock::now() + delay, device, reply});
            m_queued.fetch_add(1, std::memory_order_release);
        }
        m_wake.notify_all();
    });
}

void SimulatedPorts::inject(int inputPort, std::uint32_t word)
{
    std::lock_guard lock(m_mutex);
    if (m_inputDropped)
        return;
    if (std::find(m_openInputs.begin(), m_openInputs.end(), inputPort) != m_openInputs.end() && m_callback)
        m_callback(word);
}

void SimulatedPorts::deliver(int device, std::uint32_t word)
{
    std::lock_guard lock(m_mutex);
    deliverLocked(device, word);
}

// The reply reaches the open input when it listens to a port of that device.
void SimulatedPorts::deliverLocked(int device, std::uint32_t word)
{
    if (m_inputDropped)
        return;
    for (const int port : m_openInputs)
        if (m_inputs[std::size_t(port)].device == device && m_callback) {
            m_callback(word);
            return;
        }
}

void SimulatedPorts::deliveryLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_queue.empty()) {
            // Like a device that is busy talking, the thread stays awake for a moment before it
            // sleeps, so that a reply which comes at once is not held up by a thread wake-up.
            const int seen = m_queued.load(std::memory_order_acquire);
            lock.unlock();
            const auto awakeUntil = std::chrono::steady_clock::now() + kStayAwake;
            while (m_queued.load(std::memory_order_acquire) == seen && std::chrono::steady_clock::now() < awakeUntil)
                std::this_thread::yield();
            lock.lock();
        }
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            return;
        const Pending next = m_queue.front();
        if (std::chrono::steady_clock::now() < next.due) {
            m_wake.wait_until(lock, next.due, [this] { return m_stop; });
            continue; // re-check: stop, or the front is due now
        }
        m_queue.pop_front();
        deliverLocked(next.device, next.word);
        if (m_queue.empty())
            m_wake.notify_all();
    }
}

void SimulatedPorts::drain()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_queue.empty(); });
}

std::vector<SimulatedPorts::Event> SimulatedPorts::events() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<std::uint32_t> SimulatedPorts::sentWords() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::uint32_t> words;
    for (const Event& event : m_events)
        if (event.kind == Event::Send)
            words.push_back(event.word);
    return words;
}

void SimulatedPorts::clearEvents()
{
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

} // namespace lumo
