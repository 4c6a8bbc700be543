// The device search and the link's port bookkeeping.
#include "device/device_link.h"

#include "device/short_message.h"

#include <algorithm>

namespace lumo {
namespace {

using Clock = std::chrono::steady_clock;

bool contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

DeviceLink::DeviceLink(MidiPorts& ports)
    : m_ports(ports)
{
}

DeviceLink::~DeviceLink()
{
    closeInput();
    closeOutput();
}

void DeviceLink::closeOutput()
{
    if (!m_output.empty())
        m_ports.closeOutput();
    m_output.clear();
}

void DeviceLink::closeInput()
{
    if (!m_inputs.empty())
        m_ports.closeInput();
    m_inputs.clear();
    m_input.clear();
}

bool DeviceLink::holdOutput(const std::string& name)
{
    closeOutput();
    if (!m_ports.openOutput(name))
        return false;
    m_output = name;
    return true;
}

bool DeviceLink::listenTo(const std::vector<std::string>& inputs)
{
    if (m_inputs == inputs)
        return true;
    closeInput();
    const bool opened = m_ports.openInput(inputs, [this](std::uint32_t word) {
        m_ring.store(word);
        m_signal.notify();
        std::lock_guard lock(m_listenerMutex);
        if (m_listener)
            m_listener(word);
    });
    if (!opened)
        return false;
    m_inputs = inputs;
    m_input = inputs.size() == 1 ? inputs.front() : std::string();
    return true;
}

void DeviceLink::setListener(MidiInputCallback listener)
{
    std::lock_guard lock(m_listenerMutex);
    m_listener = std::move(listener);
}

int DeviceLink::send(std::uint32_t word)
{
    if (m_output.empty())
        return 1;
    return m_ports.send(word) == 0 ? 0 : 1;
}

ReplySignal::Woken DeviceLink::waitForArrivals(std::uint32_t mark, std::uint32_t count,
                                               std::chrono::nanoseconds bound)
{
    return m_signal.waitFor([&] { return m_ring.arrivedSince(mark) >= count; },
                            bound.count() > 0 ? bound : m_replyTimeout);
}

LinkResult DeviceLink::missingReply(int position)
{
    if (cancelled())
        return LinkResult::failure(LinkError::Cancelled, position);
    if (!contains(m_ports.outputNames(), m_output) || !contains(m_ports.inputNames(), m_input))
        return LinkResult::failure(LinkError::PortVanished, position);
    LinkResult result = LinkResult::failure(LinkError::NoReply, position);
    result.bound = int(std::chrono::duration_cast<std::chrono::milliseconds>(m_replyTimeout).count());
    return result;
}

DeviceLink::Handshake DeviceLink::handshake(const std::string& output, const std::vector<std::string>& inputs,
                                            std::uint32_t expected, std::chrono::nanoseconds wait)
{
    if (m_output != output && !holdOutput(output))
        return Handshake::Silent;
    if (!listenTo(inputs))
        return Handshake::Silent;
    // The mark comes before CmdConnect, so that an echo that comes back at once is counted.
    const std::uint32_t mark = m_ring.received();
    const auto sent = Clock::now();
    if (send(CmdConnect) != 0 || send(CmdIdentify) != 0)
        return Handshake::Silent;

    // One input: the next two messages decide. Several: the others may carry anything (a
    // keyboard being played), so any echo followed by the identity counts; the inputs are then
    // tried one by one to find which of them it was.
    const bool one = inputs.size() == 1;
    auto answered = [&] {
        const std::uint32_t arrived = std::min<std::uint32_t>(m_ring.arrivedSince(mark), kRingSize - 2);
        if (one)
            return arrived >= 2 && m_ring.message(mark) == CmdConnect && m_ring.message(mark + 1) == expected;
        for (std::uint32_t n = 0; n + 1 < arrived; ++n)
            if (m_ring.message(mark + n) == CmdConnect)
                for (std::uint32_t k = n + 1; k < arrived; ++k)
                    if (m_ring.message(mark + k) == expected)
                        return true;
        return false;
    };
    auto decided = [&] { return one ? m_ring.arrivedSince(mark) >= 2 : answered(); };
    const ReplySignal::Woken woken = m_signal.waitFor(decided, wait);
    if (woken == ReplySignal::Woken::Cancelled)
        return Handshake::Cancelled;
    if (woken != ReplySignal::Woken::Arrived || !answered())
        return Handshake::Silent;
    m_lastRoundTrip = Clock::now() - sent;
    return Handshake::Found;
}

DeviceLink::Handshake DeviceLink::tryInputsOneByOne(const std::string& output, const std::vector<std::string>& inputs,
                                                    std::uint32_t expected, std::chrono::nanoseconds wait,
                                                    const PortPair& skip)
{
    for (const std::string& input : inputs) {
        if (PortPair{output, input} == skip)
            continue;
        const Handshake result = handshake(output, {input}, expected, wait);
        if (result == Handshake::Found)
            m_found = {output, input};
        if (result != Handshake::Silent)
            return result;
    }
    return Handshake::Silent;
}

LinkResult DeviceLink::findDevice(std::uint32_t expected, const PortPair& tryFirst)
{
    m_found = {};
    if (m_ports.systemName() == "none") {
        LinkResult result = LinkResult::failure(LinkError::NoMidiSystem);
        result.detail = m_ports.lastError();
        return result;
    }
    // One snapshot: ports that come and go during the search change neither the order nor
    // which port a name stands for.
    const std::vector<std::string> outputs = m_ports.outputNames();
    const std::vector<std::string> inputs = m_ports.inputNames();
    m_outputCount = int(outputs.size());
    m_inputCount = int(inputs.size());
    const std::chrono::nanoseconds wait = m_handshakeWait + m_ports.latency();

    Handshake result = Handshake::Silent;
    PortPair tried;
    if (!tryFirst.empty() && contains(outputs, tryFirst.output) && contains(inputs, tryFirst.input)) {
        result = tryInputsOneByOne(tryFirst.output, {tryFirst.input}, expected, std::max(wait, m_replyTimeout), {});
        tried = tryFirst;
    }
    const bool together = m_ports.listensToMany() && inputs.size() > 1;
    auto tryOutputs = [&](std::chrono::nanoseconds bound) {
        Handshake outcome = Handshake::Silent;
        for (std::size_t o = 0; o < outputs.size() && outcome == Handshake::Silent; ++o) {
            const std::string& output = outputs[o];
            if (!holdOutput(output) || inputs.empty())
                continue;
            // An input that cannot be listened to with the others is still tried on its own.
            if (!together || !listenTo(inputs)) {
                outcome = tryInputsOneByOne(output, inputs, expected, bound, tried);
                continue;
            }
            outcome = handshake(output, inputs, expected, bound);
            if (outcome != Handshake::Found)
                continue;
            // Someone behind this output answered: the one input that carries it answers within
            // a few round trips, a silent one is given up after them. Should that miss it (a
            // round trip much slower than the one just seen), the full wait follows.
            const auto quick = std::clamp<std::chrono::nanoseconds>(4 * m_lastRoundTrip + m_ports.latency(),
                                                                     std::chrono::milliseconds(5), bound);
            outcome = tryInputsOneByOne(output, inputs, expected, quick, tried);
            if (outcome == Handshake::Silent && quick < bound)
                outcome = tryInputsOneByOne(output, inputs, expected, bound, tried);
        }
        return outcome;
    };
    if (result == Handshake::Silent)
        result = tryOutputs(wait);
    // A controller behind a MIDI system that stalls now and then (a loaded machine, a slow
    // bridge) may miss the short wait; one more pass gives every output a longer one.
    if (result == Handshake::Silent && !outputs.empty() && !inputs.empty())
        result = tryOutputs(kSecondPassFactor * wait);
    if (result == Handshake::Found)
        return {};
    if (result == Handshake::Cancelled)
        return LinkResult::failure(LinkError::Cancelled);
    if (!m_output.empty())
        send(CmdEnd);
    LinkResult notFound = LinkResult::failure(LinkError::NotFound);
    notFound.pairs = m_outputCount * m_inputCount;
    return notFound;
}

} // namespace lumo
