// The device search and the link's port bookkeeping.
#include "device/device_link.h"

#include "device/device_log.h"
#include "device/short_message.h"

#include <QStringList>

#include <algorithm>
#include <thread>

namespace lumo {
namespace {

using Clock = std::chrono::steady_clock;

bool contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// "output -> input", or "output -> input, input" for inputs heard together: for the log.
QString pairText(const std::string& output, const std::vector<std::string>& inputs)
{
    QStringList names;
    for (const std::string& input : inputs) names.append(QString::fromStdString(input));
    return QStringLiteral("\"%1\" -> \"%2\"").arg(QString::fromStdString(output), names.join(QStringLiteral("\", \"")));
}

// What failed, with the MIDI system's own message when it gave one.
QString failedText(const char* what, const std::string& error)
{
    return error.empty() ? QString::fromLatin1(what)
                         : QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromStdString(error));
}

// The messages that came after `mark` (at most the ring's worth), as hex bytes.
QString arrivalsText(const ReceiveRing& ring, std::uint32_t mark)
{
    QStringList words;
    const std::uint32_t arrived = std::min<std::uint32_t>(ring.arrivedSince(mark), kRingSize - 2);
    for (std::uint32_t n = 0; n < arrived; ++n) {
        const std::uint32_t word = ring.message(mark + n);
        QString bytes;
        for (int shift = 0; shift <= 16; shift += 8)
            bytes += QStringLiteral("%1 ").arg((word >> shift) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
        words.append(bytes.trimmed());
    }
    return words.isEmpty() ? QStringLiteral("nothing") : words.join(QStringLiteral(", "));
}

} // namespace

DeviceLink::DeviceLink(MidiPorts& ports)
    : m_ports(ports)
{
    m_ports.setCancelFlag(m_signal.cancelFlag());
}

DeviceLink::~DeviceLink()
{
    m_ports.setCancelFlag(nullptr);
    closeInput();
    closeOutput();
}

void DeviceLink::closeOutput()
{
    if (!m_output.empty())
        m_ports.closeOutput();
    m_output.clear();
    m_severalOutputs = false;
}

bool DeviceLink::holdOutputs(const std::vector<std::string>& names)
{
    // A held output moves: a system that can keeps the connections both share.
    const bool held = m_output.empty() ? m_ports.openOutputs(names) : m_ports.moveOutputs(names);
    m_severalOutputs = held && names.size() > 1;
    m_outputsHeld = int(names.size());
    if (!held) {
        m_output.clear();
        return false;
    }
    m_output = names.front();
    m_outputOpenedNow = true;
    return true;
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
    // Names are not connections: a port that came back under its old name is a new port.
    // Within one search a port opened by it is trusted.
    if (m_output == name && !m_severalOutputs && (m_outputOpenedNow || m_ports.connectionsLive()))
        return true;
    return holdOutputs({name});
}

bool DeviceLink::listenTo(const std::vector<std::string>& inputs)
{
    if (m_inputs == inputs && (m_inputsOpenedNow || m_ports.connectionsLive()))
        return true;
    // On the MIDI thread: atomics only.
    auto callback = [this](std::uint32_t word) {
        m_ring.store(word);
        m_signal.notify();
        // Counted before the queue is looked at: setListenerQueue(nullptr) either sees this
        // push or this push sees no queue.
        m_listenerPushes.fetch_add(1);
        if (ListenerQueue* queue = m_listener.load())
            queue->push(word);
        m_listenerPushes.fetch_sub(1);
    };
    // A held input moves, as the output does.
    const bool opened = m_inputs.empty() ? m_ports.openInput(inputs, callback) : m_ports.moveInput(inputs, callback);
    if (!opened) {
        m_inputs.clear();
        m_input.clear();
        return false;
    }
    m_inputs = inputs;
    m_inputsOpenedNow = true;
    m_input = inputs.size() == 1 ? inputs.front() : std::string();
    return true;
}

void DeviceLink::setListenerQueue(ListenerQueue* queue)
{
    m_listener.store(queue);
    // A push that saw the old queue is over within a few instructions.
    while (m_listenerPushes.load() != 0)
        std::this_thread::yield();
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

bool DeviceLink::connectionLost()
{
    if (m_found.empty() || m_ports.systemName() == "none")
        return true;
    if (!contains(m_ports.outputNames(), m_found.output) || !contains(m_ports.inputNames(), m_found.input))
        return true;
    return m_ports.notifiesChanges() && !m_ports.connectionsLive();
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
    if (!holdOutput(output)) {
        qCDebug(deviceLog).noquote() << "tried" << pairText(output, inputs) << "-"
                                     << failedText("the output does not open", m_ports.lastError());
        return Handshake::Silent;
    }
    return handshakeHeld(inputs, expected, wait);
}

DeviceLink::Handshake DeviceLink::handshakeHeld(const std::vector<std::string>& inputs, std::uint32_t expected,
                                                std::chrono::nanoseconds wait)
{
    const std::string output = !m_severalOutputs ? m_output
                               : m_outputsHeld == m_outputCount
                                   ? std::string("every output")
                                   : std::to_string(m_outputsHeld) + " outputs from " + m_output;
    if (!listenTo(inputs)) {
        qCDebug(deviceLog).noquote() << "tried" << pairText(output, inputs) << "-"
                                     << failedText("the input does not open", m_ports.lastError());
        return Handshake::Silent;
    }
    // The mark comes before CmdConnect, so that an echo that comes back at once is counted.
    const std::uint32_t mark = m_ring.received();
    const auto sent = Clock::now();
    if (send(CmdConnect) != 0 || send(CmdIdentify) != 0) {
        qCDebug(deviceLog).noquote() << "tried" << pairText(output, inputs) << "-"
                                     << failedText("the output takes no message", m_ports.lastError());
        return Handshake::Silent;
    }

    // One input: the next two messages decide. Several: the others may carry anything (a
    // keyboard being played), so any echo followed by the identity counts; the inputs are then
    // tried one by one to find which of them it was.
    const bool one = inputs.size() == 1 && !m_severalOutputs;
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
    if (woken == ReplySignal::Woken::Cancelled) {
        qCDebug(deviceLog).noquote() << "tried" << pairText(output, inputs) << "- cancelled";
        return Handshake::Cancelled;
    }
    if (woken != ReplySignal::Woken::Arrived || !answered()) {
        qCDebug(deviceLog).noquote()
            << "tried" << pairText(output, inputs)
            << QStringLiteral("- no echo and identity within %1 ms; came: %2")
                   .arg(std::chrono::duration_cast<std::chrono::milliseconds>(wait).count())
                   .arg(arrivalsText(m_ring, mark));
        return Handshake::Silent;
    }
    m_lastRoundTrip = Clock::now() - sent;
    qCDebug(deviceLog).noquote() << "tried" << pairText(output, inputs) << "- answered in"
                                 << std::chrono::duration_cast<std::chrono::microseconds>(m_lastRoundTrip).count() << "us";
    return Handshake::Found;
}

DeviceLink::Handshake DeviceLink::tryInputsOneByOne(const std::string& output, const std::vector<std::string>& inputs,
                                                    std::uint32_t expected, std::chrono::nanoseconds wait, bool all)
{
    Handshake outcome = Handshake::Silent;
    for (const std::string& input : inputs) {
        const Handshake result = handshake(output, {input}, expected, wait);
        if (result == Handshake::Cancelled)
            return result;
        if (result != Handshake::Found)
            continue;
        if (m_found.empty()) {
            m_found = {output, input};
            m_foundIdentity = expected;
        }
        if (std::find(m_answering.begin(), m_answering.end(), PortPair{output, input}) == m_answering.end())
            m_answering.push_back({output, input});
        outcome = Handshake::Found;
        if (!all)
            return outcome;
    }
    return outcome;
}

LinkResult DeviceLink::greetAgain()
{
    if (m_found.empty())
        return LinkResult::failure(LinkError::NotFound);
    const PortPair pair = m_found;
    const Handshake result = handshake(pair.output, {pair.input}, m_foundIdentity,
                                       std::max<std::chrono::nanoseconds>(m_replyTimeout, m_handshakeWait + m_ports.latency()));
    if (result == Handshake::Cancelled)
        return LinkResult::failure(LinkError::Cancelled);
    if (result != Handshake::Found)
        return LinkResult::failure(LinkError::NotFound);
    return {};
}

namespace {

std::vector<std::string> slice(const std::vector<std::string>& names, std::size_t first, std::size_t last)
{
    return {names.begin() + std::ptrdiff_t(first), names.begin() + std::ptrdiff_t(last)};
}

} // namespace

template <class Ask>
std::size_t DeviceLink::halve(std::size_t count, Ask ask, bool& cancelledOut)
{
    // The first half is asked; when it is silent the second is taken without asking.
    std::size_t first = 0, last = count;
    while (last - first > 1 && !cancelledOut) {
        const std::size_t middle = first + (last - first) / 2;
        const Handshake answer = ask(first, middle);
        cancelledOut = answer == Handshake::Cancelled;
        if (answer == Handshake::Found)
            last = middle;
        else
            first = middle;
    }
    return first;
}

DeviceLink::Handshake DeviceLink::halveToPair(const std::vector<std::string>& outputs,
                                              const std::vector<std::string>& inputs, std::uint32_t expected,
                                              std::chrono::nanoseconds wait)
{
    bool cancelledNow = false;
    const std::size_t output = halve(outputs.size(), [&](std::size_t first, std::size_t last) {
        return holdOutputs(slice(outputs, first, last)) ? handshakeHeld(inputs, expected, wait) : Handshake::Silent;
    }, cancelledNow);
    const std::size_t input = halve(inputs.size(), [&](std::size_t first, std::size_t last) {
        return holdOutput(outputs[output]) ? handshakeHeld(slice(inputs, first, last), expected, wait) : Handshake::Silent;
    }, cancelledNow);
    if (cancelledNow)
        return Handshake::Cancelled;
    // A late answer may have sent a step the wrong way: only a handshake of the one pair counts.
    return tryInputsOneByOne(outputs[output], {inputs[input]}, expected, wait, false);
}

namespace {

bool mentions(const std::string& name, const std::string& part)
{
    return part.empty() || name.find(part) != std::string::npos;
}

} // namespace

LinkResult DeviceLink::findDevice(std::uint32_t expected, const PortPair& tryFirst, const std::string& only)
{
    return search(expected, tryFirst, only, false);
}

LinkResult DeviceLink::scanDevices(std::uint32_t expected)
{
    return search(expected, {}, {}, true);
}

LinkResult DeviceLink::search(std::uint32_t expected, const PortPair& tryFirst, const std::string& only, bool all)
{
    m_found = {};
    m_answering.clear();
    m_outputOpenedNow = false;
    m_inputsOpenedNow = false;
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
    qCDebug(deviceLog).noquote() << "search on" << QString::fromStdString(m_ports.systemName()) << "among"
                                 << outputs.size() << "outputs and" << inputs.size() << "inputs"
                                 << (tryFirst.empty() ? QString() : QStringLiteral("(first: the pair that answered last)"));
    // With `only`: an output that names it goes with every input, any other output only with
    // the inputs that name it.
    auto inputsFor = [&](const std::string& output) {
        if (mentions(output, only))
            return inputs;
        std::vector<std::string> named;
        for (const std::string& input : inputs)
            if (mentions(input, only))
                named.push_back(input);
        return named;
    };

    Handshake result = Handshake::Silent;
    // The pair that answered last is tried first with the search's own wait: one that now
    // mixes two controllers costs no more than a silent pair. A silent one is tried again in
    // its place in the full pass: it may only have missed the short wait.
    if (!all && !tryFirst.empty() && contains(outputs, tryFirst.output) && contains(inputs, tryFirst.input)
        && (mentions(tryFirst.output, only) || mentions(tryFirst.input, only)))
        result = tryInputsOneByOne(tryFirst.output, {tryFirst.input}, expected, wait, false);
    auto tryEachOutput = [&](std::chrono::nanoseconds bound) {
        Handshake outcome = Handshake::Silent;
        for (std::size_t o = 0; o < outputs.size() && (all || outcome == Handshake::Silent); ++o) {
            const std::string& output = outputs[o];
            const std::vector<std::string> candidates = inputsFor(output);
            // Without a choice every output is held in turn, also one without inputs to try.
            if ((!only.empty() && candidates.empty()) || !holdOutput(output) || candidates.empty())
                continue;
            const bool together = m_ports.listensToMany() && candidates.size() > 1;
            Handshake here = Handshake::Silent;
            // An input that cannot be listened to with the others is still tried on its own.
            if (!together || !listenTo(candidates)) {
                here = tryInputsOneByOne(output, candidates, expected, bound, all);
            } else if (handshake(output, candidates, expected, bound) == Handshake::Found) {
                // Someone behind this output answered: the one input that carries it answers
                // within a few round trips, a silent one is given up after them. Should that
                // miss it (a round trip much slower than the one just seen), the full wait
                // follows.
                const auto quick = std::clamp<std::chrono::nanoseconds>(4 * m_lastRoundTrip + m_ports.latency(),
                                                                         std::chrono::milliseconds(5), bound);
                here = tryInputsOneByOne(output, candidates, expected, quick, all);
                if (here == Handshake::Silent && quick < bound)
                    here = tryInputsOneByOne(output, candidates, expected, bound, all);
            } else if (cancelled()) {
                here = Handshake::Cancelled;
            }
            if (here == Handshake::Cancelled)
                return here;
            if (here == Handshake::Found)
                outcome = here;
        }
        return outcome;
    };
    // A system that can send to many outputs and listen to many inputs at once asks them all
    // in one handshake first: when nobody answers, the pass costs one wait instead of one per
    // output. When someone does, halving the outputs and then the inputs asked finds the first
    // pair that answers in a few handshakes with the short wait of a pair known to be there;
    // should that miss it, the outputs are tried in order, with the full wait last.
    auto tryOutputs = [&](std::chrono::nanoseconds bound) {
        if (all || !only.empty() || outputs.size() < 2 || inputs.empty() || !m_ports.sendsToMany()
            || !m_ports.listensToMany() || !holdOutputs(outputs))
            return tryEachOutput(bound);
        // Held on when silent: a search that finds nothing sends CmdEnd to all of them.
        const Handshake probe = handshakeHeld(inputs, expected, bound);
        if (probe != Handshake::Found)
            return probe;
        const auto quick = std::clamp<std::chrono::nanoseconds>(4 * m_lastRoundTrip + m_ports.latency(),
                                                                 std::chrono::milliseconds(5), bound);
        const Handshake halved = halveToPair(outputs, inputs, expected, quick);
        if (halved != Handshake::Silent)
            return halved;
        const Handshake outcome = tryEachOutput(quick);
        return outcome == Handshake::Silent && quick < bound ? tryEachOutput(bound) : outcome;
    };
    if (result == Handshake::Silent)
        result = tryOutputs(wait);
    // A controller behind a MIDI system that stalls now and then (a loaded machine, a slow
    // bridge) may miss the short wait; one more pass gives every output a longer one.
    if (result == Handshake::Silent && !cancelled() && !outputs.empty() && !inputs.empty())
        result = tryOutputs(kSecondPassFactor * wait);
    if (result == Handshake::Found && all && !m_answering.empty() && !cancelled()) {
        // The scan ends on the first pair that answered, held as after a search.
        const PortPair first = m_answering.front();
        const std::vector<PortPair> answering = m_answering;
        m_found = {};
        result = tryInputsOneByOne(first.output, {first.input}, expected, kSecondPassFactor * wait, false);
        m_answering = answering;
    }
    if (result == Handshake::Found) {
        qCDebug(deviceLog).noquote() << "search found" << pairText(m_found.output, {m_found.input});
        return {};
    }
    if (result == Handshake::Cancelled || cancelled()) {
        qCDebug(deviceLog) << "search cancelled";
        return LinkResult::failure(LinkError::Cancelled);
    }
    qCDebug(deviceLog) << "search found no controller among" << m_outputCount * m_inputCount << "pairs";
    if (!m_output.empty())
        send(CmdEnd);
    LinkResult notFound = LinkResult::failure(LinkError::NotFound);
    notFound.pairs = m_outputCount * m_inputCount;
    return notFound;
}

} // namespace lumo
