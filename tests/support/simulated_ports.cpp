// The in-process MIDI system: port wiring, reply delivery and the event log.
#include "tests/support/simulated_ports.h"

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

int SimulatedPorts::outputCount() { return m_hidden ? 0 : int(m_outputs.size()); }
int SimulatedPorts::inputCount() { return m_hidden ? 0 : int(m_inputs.size()); }

std::string SimulatedPorts::outputName(int port)
{
    return port >= 0 && port < int(m_outputs.size()) ? m_outputs[std::size_t(port)].name : std::string();
}

std::string SimulatedPorts::inputName(int port)
{
    return port >= 0 && port < int(m_inputs.size()) ? m_inputs[std::size_t(port)].name : std::string();
}

bool SimulatedPorts::openOutput(int port)
{
    if (port < 0 || port >= outputCount() || m_failingOutputs.count(port) || m_openOutput >= 0)
        return false;
    m_openOutput = port;
    std::lock_guard lock(m_mutex);
    m_events.push_back({Event::OpenOutput, port});
    return true;
}

void SimulatedPorts::closeOutput()
{
    std::lock_guard lock(m_mutex);
    if (m_openOutput >= 0)
        m_events.push_back({Event::CloseOutput, m_openOutput});
    m_openOutput = -1;
}

bool SimulatedPorts::openInput(int port, MidiInputCallback callback)
{
    std::lock_guard lock(m_mutex);
    if (port < 0 || port >= inputCount() || m_failingInputs.count(port) || m_openInput >= 0)
        return false;
    m_openInput = port;
    m_callback = std::move(callback);
    m_events.push_back({Event::OpenInput, port});
    return true;
}

void SimulatedPorts::closeInput()
{
    // Under the lock: once this returns, no delivery is running or will reach the old callback.
    std::lock_guard lock(m_mutex);
    if (m_openInput >= 0)
        m_events.push_back({Event::CloseInput, m_openInput});
    m_openInput = -1;
    m_callback = nullptr;
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
    const int device = m_outputs[std::size_t(port)].device;
    if (device < 0)
        return 0;
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
    return 0;
}

void SimulatedPorts::inject(int inputPort, std::uint32_t word)
{
    std::lock_guard lock(m_mutex);
    if (m_openInput == inputPort && m_callback)
        m_callback(word);
}

void SimulatedPorts::deliver(int device, std::uint32_t word)
{
    std::lock_guard lock(m_mutex);
    if (m_openInput >= 0 && m_inputs[std::size_t(m_openInput)].device == device && m_callback)
        m_callback(word);
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
        if (m_openInput >= 0 && m_inputs[std::size_t(m_openInput)].device == next.device && m_callback)
            m_callback(next.word);
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
