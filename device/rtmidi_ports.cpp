// The RtMidi backend of the port interface (ALSA on Linux, the platform's own system elsewhere;
// JACK only in a build without the JACK library, see jack_ports.cpp) and the virtual ports of
// `lumo virtual`. RtMidi's errors arrive through its error callback and are kept as lastError;
// with a callback set RtMidi neither prints nor throws, and its constructors' exceptions are
// caught here, so nothing escapes into the device logic.
#include "device/bounded_call.h"
#include "device/callback_gate.h"
#include "device/midi_system.h"
#include "device/no_midi_ports.h"
#include "device/short_message.h"

#include <RtMidi.h>

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

namespace lumo {
namespace {

RtMidi::Api rtApiOf(MidiApi api)
{
    switch (api) {
    case MidiApi::Alsa: return RtMidi::LINUX_ALSA;
    case MidiApi::Jack: return RtMidi::UNIX_JACK;
    default: return RtMidi::UNSPECIFIED;
    }
}

// Collects the errors that RtMidi reports for one object; `failed` tells the caller that the
// call it just made went wrong.
struct ErrorTrap {
    std::atomic<bool> failed{false};
    mutable std::mutex mutex;
    std::string last;

    static void callback(RtMidiError::Type, const std::string& text, void* self)
    {
        // Warnings count as failures too: a full JACK buffer is reported as one.
        auto* trap = static_cast<ErrorTrap*>(self);
        trap->failed = true;
        std::lock_guard lock(trap->mutex);
        trap->last = text;
    }
    std::string lastText() const
    {
        std::lock_guard lock(mutex);
        return last;
    }
};

int sendWord(RtMidiOut& out, ErrorTrap& trap, std::uint32_t word)
{
    const unsigned char bytes[3] = {StatusByte(word), FirstDataByte(word), SecondDataByte(word)};
    if (!(bytes[0] & 0x80))
        return 1;
    trap.failed = false;
    try {
        out.sendMessage(bytes, ShortMessageLength(bytes[0]));
    } catch (const std::exception& e) {
        ErrorTrap::callback(RtMidiError::UNSPECIFIED, e.what(), &trap);
    }
    return trap.failed ? 1 : 0;
}

// One RtMidi object with the trap for its errors and, for an input, the gate to the callback
// that it feeds. Shared, so that a close still blocked in the MIDI system when its caller gave
// up on it keeps all three alive; the trap and the gate outlive the object (declared first).
struct InputEnd {
    ErrorTrap trap;
    CallbackGate gate;
    std::unique_ptr<RtMidiIn> midi;

    static void onMessage(double, std::vector<unsigned char>* message, void* self)
    {
        // RtMidi already drops system exclusive, timing clock and active sensing.
        if (message)
            static_cast<InputEnd*>(self)->gate.deliver(message->data(), message->size());
    }
};

struct OutputEnd {
    ErrorTrap trap;
    std::unique_ptr<RtMidiOut> midi;
};

// A client being made on a thread of its own; `end` stays empty when making it failed.
template <class End>
struct Making {
    std::mutex mutex;
    bool done = false;
    std::shared_ptr<End> end;
};

// Closing a port takes a few milliseconds; longer means the server is stuck on a vanished
// client, and the caller goes on without the port's object. Once one close was given up, the
// next ones (the other port, the clients at exit) get only a short wait until the server has
// answered again.
constexpr auto kCloseBound = std::chrono::milliseconds(300);
constexpr auto kStuckCloseBound = std::chrono::milliseconds(20);
// A client is made anew only after a close was given up, so the server is likely still stuck:
// opening one takes tens of milliseconds when it answers, and a client that is not there in
// time is taken at a later call once it is.
constexpr auto kOpenBound = std::chrono::milliseconds(500);

class RtMidiPorts : public MidiPorts {
public:
    RtMidiPorts(MidiApi api, const std::string& clientName)
        : m_api(api)
        , m_clientName(clientName)
    {
        const std::string pid = std::to_string(::getpid());
        m_inPortName = "in-" + pid;
        m_outPortName = "out-" + pid;
        try {
            m_output = makeOutput(api, clientName);
            m_input = makeInput(api, clientName);
        } catch (const std::exception& e) {
            m_openError = e.what();
            m_input.reset();
            m_output.reset();
        }
    }

    ~RtMidiPorts() override
    {
        closeInput();
        closeOutput();
        // Closing the clients is a request to the server too; one that does not answer in time
        // is left to finish on its own thread (or with the process).
        RunBounded([input = std::move(m_input), output = std::move(m_output), makingInput = std::move(m_makingInput),
                    makingOutput = std::move(m_makingOutput)]() mutable {
            input.reset();
            output.reset();
            makingInput.reset();
            makingOutput.reset();
        }, closeBound());
    }

    std::string systemName() const override { return m_openError.empty() ? MidiApiName(m_api) : "none"; }

    std::vector<std::string> outputNames() override
    {
        return haveOutput() ? namesOf(*m_output->midi) : std::vector<std::string>();
    }
    std::vector<std::string> inputNames() override
    {
        return haveInput() ? namesOf(*m_input->midi) : std::vector<std::string>();
    }

    bool openOutput(const std::string& name) override
    {
        if (!haveOutput())
            return false;
        // By name: the number of a port is looked up just before it is opened.
        const int port = indexOf(*m_output->midi, name);
        if (port < 0)
            return false;
        m_output->trap.failed = false;
        m_output->midi->openPort(unsigned(port), m_outPortName);
        if (m_output->trap.failed || !m_output->midi->isPortOpen())
            return closeOutput(), false;
        return true;
    }

    void closeOutput() override
    {
        if (!m_output || !m_output->midi->isPortOpen())
            return;
        if (!RunBounded([output = m_output] { output->midi->closePort(); }, closeBound()))
            abandon(m_output);
    }

    bool openInput(const std::vector<std::string>& names, MidiInputCallback callback) override
    {
        if (!haveInput() || names.size() != 1)
            return false;
        const int port = indexOf(*m_input->midi, names.front());
        if (port < 0)
            return false;
        // Set while the port is closed; the backend's thread takes its own reference to it.
        m_input->gate.start(std::move(callback));
        m_input->midi->setCallback(&InputEnd::onMessage, m_input.get());
        m_input->trap.failed = false;
        m_input->midi->openPort(unsigned(port), m_inPortName);
        if (m_input->trap.failed || !m_input->midi->isPortOpen())
            return closeInput(), false;
        return true;
    }

    void closeInput() override
    {
        if (!m_input)
            return;
        m_input->gate.stop();
        if (!RunBounded([input = m_input] {
                if (input->midi->isPortOpen())
                    input->midi->closePort();
                input->midi->cancelCallback();
            }, closeBound()))
            abandon(m_input);
    }

    int send(std::uint32_t word) override
    {
        if (!m_output || !m_output->midi->isPortOpen())
            return 1;
        return sendWord(*m_output->midi, m_output->trap, word);
    }

    std::string lastError() const override
    {
        if (!m_openError.empty())
            return m_openError;
        const std::string out = m_output ? m_output->trap.lastText() : std::string();
        if (!out.empty())
            return out;
        const std::string in = m_input ? m_input->trap.lastText() : std::string();
        return in.empty() ? m_abandonedError : in;
    }

private:
    // The program's own ports ("in-PID" and "out-PID" of any of its clients) are left out: on
    // JACK the output that this input object opened is listed among the inputs, and so on.
    bool isOwn(const std::string& name) const
    {
        for (const std::string* own : {&m_inPortName, &m_outPortName}) {
            const std::size_t at = name.find(":" + *own);
            const std::size_t end = at + 1 + own->size();
            if (at != std::string::npos && (end == name.size() || name[end] == ' '))
                return true;
        }
        return false;
    }
    std::vector<std::string> namesOf(RtMidi& midi) const
    {
        std::vector<std::string> names;
        const unsigned count = midi.getPortCount();
        for (unsigned i = 0; i < count; ++i)
            if (std::string name = midi.getPortName(i); !name.empty() && !isOwn(name))
                names.push_back(std::move(name));
        return names;
    }
    static int indexOf(RtMidi& midi, const std::string& name)
    {
        const unsigned count = midi.getPortCount();
        for (unsigned i = 0; i < count; ++i)
            if (midi.getPortName(i) == name)
                return int(i);
        return -1;
    }

    static std::shared_ptr<OutputEnd> makeOutput(MidiApi api, const std::string& clientName)
    {
        auto output = std::make_shared<OutputEnd>();
        output->midi = std::make_unique<RtMidiOut>(rtApiOf(api), clientName);
        output->midi->setErrorCallback(&ErrorTrap::callback, &output->trap);
        return output;
    }
    static std::shared_ptr<InputEnd> makeInput(MidiApi api, const std::string& clientName)
    {
        auto input = std::make_shared<InputEnd>();
        input->midi = std::make_unique<RtMidiIn>(rtApiOf(api), clientName);
        input->midi->setErrorCallback(&ErrorTrap::callback, &input->trap);
        return input;
    }

    // The close goes on without us; its object is gone from here, and a new one is made when
    // the ports are next used.
    template <class End>
    void abandon(std::shared_ptr<End>& end)
    {
        m_abandonedError = "the MIDI system did not answer within " + std::to_string(kCloseBound.count()) + " ms";
        m_stuck = true;
        end.reset();
    }
    std::chrono::milliseconds closeBound() const { return m_stuck ? kStuckCloseBound : kCloseBound; }

    // A new client after an abandoned one, made within a bound: while the server still waits
    // for a vanished client it answers no one, and then there are simply no ports for now. A
    // client still being made is not asked for again; it is taken once it is there.
    template <class End, class Make>
    bool remake(std::shared_ptr<End>& end, std::shared_ptr<Making<End>>& making, Make make)
    {
        if (end)
            return true;
        if (!m_openError.empty())
            return false;
        if (!making) {
            making = std::make_shared<Making<End>>();
            RunBounded([making, make, api = m_api, name = m_clientName] {
                std::shared_ptr<End> made;
                try {
                    made = make(api, name);
                } catch (const std::exception&) {
                }
                std::lock_guard lock(making->mutex);
                making->end = std::move(made);
                making->done = true;
            }, kOpenBound);
        }
        const auto pending = making;
        std::unique_lock lock(pending->mutex);
        if (!pending->done)
            return false;
        end = std::move(pending->end);
        lock.unlock();
        making.reset();
        if (end)
            m_stuck = false;
        return end != nullptr;
    }
    bool haveOutput() { return remake(m_output, m_makingOutput, &RtMidiPorts::makeOutput); }
    bool haveInput() { return remake(m_input, m_makingInput, &RtMidiPorts::makeInput); }

    MidiApi m_api;
    std::string m_clientName;
    std::string m_inPortName;
    std::string m_outPortName;
    std::string m_openError;
    std::string m_abandonedError;
    bool m_stuck = false; // a close was given up and the server has not answered since
    std::shared_ptr<OutputEnd> m_output;
    std::shared_ptr<InputEnd> m_input;
    std::shared_ptr<Making<OutputEnd>> m_makingOutput;
    std::shared_ptr<Making<InputEnd>> m_makingInput;
};

class RtMidiVirtualPorts : public VirtualMidiPorts {
public:
    RtMidiVirtualPorts(MidiApi api, const std::string& portName, MidiInputCallback onWord)
    {
        m_gate.start(std::move(onWord));
        m_out = std::make_unique<RtMidiOut>(rtApiOf(api), portName);
        m_out->setErrorCallback(&ErrorTrap::callback, &m_outTrap);
        m_in = std::make_unique<RtMidiIn>(rtApiOf(api), portName);
        m_in->setErrorCallback(&ErrorTrap::callback, &m_inTrap);
        m_out->openVirtualPort(portName);
        m_in->setCallback(&RtMidiVirtualPorts::onMessage, this);
        m_in->openVirtualPort(portName);
    }

    ~RtMidiVirtualPorts() override
    {
        m_gate.stop();
        m_in->closePort();
        m_in->cancelCallback();
        m_out->closePort();
    }

    std::string error() const
    {
        const std::string out = m_outTrap.lastText();
        return out.empty() ? m_inTrap.lastText() : out;
    }
    bool failed() const { return m_outTrap.failed || m_inTrap.failed; }

    int send(std::uint32_t word) override { return sendWord(*m_out, m_outTrap, word); }

private:
    static void onMessage(double, std::vector<unsigned char>* message, void* self)
    {
        if (message)
            static_cast<RtMidiVirtualPorts*>(self)->m_gate.deliver(message->data(), message->size());
    }

    CallbackGate m_gate;
    ErrorTrap m_outTrap;
    ErrorTrap m_inTrap;
    std::unique_ptr<RtMidiOut> m_out;
    std::unique_ptr<RtMidiIn> m_in;
};

} // namespace

std::unique_ptr<MidiPorts> OpenMidiPorts(MidiApi api, const std::string& clientName)
{
    if (api == MidiApi::None)
        return std::make_unique<NoMidiPorts>("no ALSA sequencer and no JACK server");
    if (api == MidiApi::Jack)
        if (auto jack = OpenJackPorts(clientName)) {
            if (jack->systemName() == "none")
                return std::make_unique<NoMidiPorts>(jack->lastError());
            return jack;
        }
    auto ports = std::make_unique<RtMidiPorts>(api, clientName);
    if (ports->systemName() == "none")
        return std::make_unique<NoMidiPorts>(ports->lastError());
    return ports;
}

std::unique_ptr<VirtualMidiPorts> OpenVirtualMidiPorts(MidiApi api, const std::string& portName,
                                                       MidiInputCallback onWord, std::string& error)
{
    if (api == MidiApi::None) {
        error = "no ALSA sequencer and no JACK server";
        return nullptr;
    }
    try {
        auto ports = std::make_unique<RtMidiVirtualPorts>(api, portName, std::move(onWord));
        if (ports->failed()) {
            error = ports->error();
            return nullptr;
        }
        return ports;
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
}

} // namespace lumo
