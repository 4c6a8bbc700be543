// The JACK backend of the port interface: one client of our own with one input and one output
// port for its whole life, whose connections move from port to port. RtMidi's JACK backend
// makes a client per direction and a port per port opened. The server wakes every client once
// per period, so two clients cost three times the processor time of one; and registering a
// port takes the server tens of milliseconds under load, where moving a connection takes one
// process cycle.
#include "device/bounded_call.h"
#include "device/callback_gate.h"
#include "device/midi_system.h"
#include "device/short_message.h"

#if defined(LUMO_HAVE_JACK)
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>
#include <functional>
#include <utility>
#include <vector>
#endif

namespace lumo {

#if !defined(LUMO_HAVE_JACK)
std::unique_ptr<MidiPorts> OpenJackPorts(const std::string&) { return nullptr; }
#else
namespace {

void keepForGood(jack_client_t* client);

// What the process callback and the server requests left running on a bounded job touch:
// shared, so that it outlives a ports object whose server stopped answering.
struct JackClient {
    jack_client_t* client = nullptr;
    jack_port_t* in = nullptr;
    jack_port_t* out = nullptr;
    jack_ringbuffer_t* outgoing = nullptr; // packed words from send() to the process callback
    std::mutex sendMutex;                  // the ring takes one writer at a time
    CallbackGate gate;
    std::atomic<bool> serverGone{false};
    std::atomic<std::uint32_t> missedCycles{0}; // the server's xruns, as it reports them
    // A request is still waiting for the server's answer. Requests share one socket and must
    // not overlap, so none is made until it has its answer; the last job that holds the client
    // closes it, after its own request.
    std::atomic<bool> requestUnderWay{false};

    std::mutex notifierMutex; // never taken on the process thread
    std::function<void()> notifier;
    void notifyChange()
    {
        std::lock_guard lock(notifierMutex);
        if (notifier)
            notifier();
    }

    ~JackClient()
    {
        // A client whose server has stopped is left alone: libjack crashes closing it, and the
        // server that held it is gone anyway. It stays listed, so that it counts as kept, not lost.
        if (client && !serverGone)
            jack_client_close(client);
        else if (client)
            keepForGood(client);
        if (outgoing)
            jack_ringbuffer_free(outgoing);
    }
};

int process(jack_nframes_t frames, void* arg)
{
    auto* self = static_cast<JackClient*>(arg);
    void* input = jack_port_get_buffer(self->in, frames);
    const std::uint32_t count = jack_midi_get_event_count(input);
    for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, input, i) == 0)
            self->gate.deliver(event.buffer, event.size);
    }
    void* output = jack_port_get_buffer(self->out, frames);
    jack_midi_clear_buffer(output);
    std::uint32_t word = 0;
    while (jack_ringbuffer_peek(self->outgoing, reinterpret_cast<char*>(&word), sizeof word) == sizeof word) {
        const std::size_t length = ShortMessageLength(StatusByte(word));
        jack_midi_data_t* data = jack_midi_event_reserve(output, 0, length);
        if (!data)
            break; // the period's buffer is full: the rest goes out in the next one
        const std::uint8_t bytes[3] = {StatusByte(word), FirstDataByte(word), SecondDataByte(word)};
        std::memcpy(data, bytes, length);
        jack_ringbuffer_read_advance(self->outgoing, sizeof word);
    }
    return 0;
}

void keepForGood(jack_client_t* client)
{
    static std::mutex mutex;
    static auto* kept = new std::vector<jack_client_t*>;
    std::lock_guard lock(mutex);
    kept->push_back(client);
}

// Both on the server's notification thread, never the process thread.
void onShutdown(void* arg)
{
    auto* self = static_cast<JackClient*>(arg);
    self->serverGone = true;
    self->notifyChange();
}
void onPortRegistration(jack_port_id_t, int, void* arg) { static_cast<JackClient*>(arg)->notifyChange(); }
int onXrun(void* arg)
{
    static_cast<JackClient*>(arg)->missedCycles.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

// A request takes the server a few milliseconds; longer means it is stuck on a vanished client
// (it answers nobody until it gives up on it, about 9 s), and the caller goes on without the
// answer. A connection counts once the process cycle sees it: many cycles even at large periods
// (4,096 frames at 44.1 kHz is 93 ms).
constexpr auto kRequestBound = std::chrono::milliseconds(300);
constexpr auto kFurtherRequestBound = std::chrono::milliseconds(30);
constexpr auto kConnectionTimeout = std::chrono::milliseconds(500);
constexpr std::size_t kOutgoingBytes = 16384; // 4,096 messages

template <class Condition>
bool waitUntil(Condition condition, const std::atomic<bool>* cancelled)
{
    const auto deadline = std::chrono::steady_clock::now() + kConnectionTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline || (cancelled && cancelled->load()))
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

class JackPorts : public MidiPorts {
public:
    explicit JackPorts(const std::string& clientName)
    {
        const std::string pid = std::to_string(::getpid());
        m_inPortName = "in-" + pid;
        m_outPortName = "out-" + pid;
        auto made = std::make_shared<JackClient>();
        jack_status_t status{};
        made->client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
        if (!made->client) {
            m_error = "no JACK server answered";
            return;
        }
        made->outgoing = jack_ringbuffer_create(kOutgoingBytes);
        made->in = jack_port_register(made->client, m_inPortName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        made->out = jack_port_register(made->client, m_outPortName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        if (!made->outgoing || !made->in || !made->out) {
            m_error = "the JACK server made no ports for us";
            return;
        }
        jack_set_process_callback(made->client, &process, made.get());
        jack_on_shutdown(made->client, &onShutdown, made.get());
        jack_set_port_registration_callback(made->client, &onPortRegistration, made.get());
        jack_set_xrun_callback(made->client, &onXrun, made.get());
        if (jack_activate(made->client) != 0) {
            m_error = "the JACK server did not take our client";
            return;
        }
        m_client = std::move(made);
    }

    ~JackPorts() override
    {
        if (!m_client)
            return;
        m_client->gate.stop();
        // Closing the client is a request too; one that is not answered in time finishes on
        // its own thread (or with the process). It gets its full bound also after a cancel:
        // a process that ends in the middle of its close stalls a --sync server for many
        // seconds. Only a server already known to be stuck is not waited for.
        RunBounded([client = std::move(m_client)]() mutable { client.reset(); },
                   m_serverStuck ? std::chrono::milliseconds(20) : kRequestBound);
    }

    std::string systemName() const override { return usable() ? "JACK" : "none"; }

    bool connectionsLive() override
    {
        if (!usable() || !m_outputOpen || m_inputNames.empty())
            return false;
        for (const std::string& name : m_outputNames)
            if (!jack_port_connected_to(m_client->out, name.c_str()))
                return false;
        for (const std::string& name : m_inputNames)
            if (!jack_port_connected_to(m_client->in, name.c_str()))
                return false;
        return true;
    }
    void setChangeNotifier(std::function<void()> notify) override
    {
        if (!m_client)
            return;
        std::lock_guard lock(m_client->notifierMutex);
        m_client->notifier = std::move(notify);
    }
    bool notifiesChanges() const override { return true; }
    void setCancelFlag(const std::atomic<bool>* cancelled) override
    {
        m_cancel.store(cancelled);
    }
    std::vector<std::string> outputNames() override { return portNames(JackPortIsInput); }
    std::vector<std::string> inputNames() override { return portNames(JackPortIsOutput); }
    bool listensToMany() const override { return true; }

    std::chrono::milliseconds latency() const override
    {
        if (!usable())
            return std::chrono::milliseconds(0);
        const double rate = jack_get_sample_rate(m_client->client);
        const double period = rate > 0 ? 1000.0 * jack_get_buffer_size(m_client->client) / rate : 0;
        return std::chrono::milliseconds(int(3 * period + 1)); // out, through the other client, back
    }

    std::uint32_t missedCycles() const override
    {
        return m_client ? m_client->missedCycles.load(std::memory_order_relaxed) : 0;
    }

    bool openOutput(const std::string& name) override { return openOutputs({name}); }
    bool sendsToMany() const override { return true; }
    // An open output moves: the connections it keeps are not made again. A closed one may
    // still have its old connections in the process cycle, so they all go first.
    bool openOutputs(const std::vector<std::string>& names) override
    {
        const bool moving = std::exchange(m_outputOpen, false);
        m_outputNames.clear();
        m_outputOpen = !names.empty() && usable()
                       && (moving ? connectExactly(m_client->out, names)
                                  : disconnectAll(m_client->out) && connect(m_client->out, names));
        if (m_outputOpen)
            m_outputNames = names;
        return m_outputOpen;
    }
    bool moveOutputs(const std::vector<std::string>& names) override { return openOutputs(names); }
    void closeOutput() override
    {
        if (std::exchange(m_outputOpen, false) && usable())
            disconnectAll(m_client->out, false);
    }

    bool openInput(const std::vector<std::string>& names, MidiInputCallback callback) override
    {
        if (!usable() || names.empty())
            return false;
        // Nothing that came through the port's earlier connections reaches the new callback.
        // An open input keeps what it shares with `names`; a closed one drops everything.
        m_client->gate.stop();
        const bool moving = !m_inputNames.empty();
        m_inputNames.clear();
        if (!(moving ? disconnectOthers(m_client->in, names) : disconnectAll(m_client->in)))
            return false;
        m_client->gate.start(std::move(callback));
        if (!connect(m_client->in, names))
            return closeInput(), false;
        m_inputNames = names;
        return true;
    }
    bool moveInput(const std::vector<std::string>& names, MidiInputCallback callback) override
    {
        return openInput(names, std::move(callback));
    }
    void closeInput() override
    {
        if (!m_client)
            return;
        m_client->gate.stop();
        m_inputNames.clear();
        if (usable())
            disconnectAll(m_client->in, false);
    }

    int send(std::uint32_t word) override
    {
        if (!m_outputOpen || !usable() || !(StatusByte(word) & 0x80))
            return 1;
        std::lock_guard lock(m_client->sendMutex);
        if (jack_ringbuffer_write_space(m_client->outgoing) < sizeof word) {
            m_error = "the JACK output buffer is full";
            return 1;
        }
        jack_ringbuffer_write(m_client->outgoing, reinterpret_cast<const char*>(&word), sizeof word);
        return 0;
    }

    std::string lastError() const override
    {
        if (m_client && m_client->serverGone)
            return "the JACK server has stopped";
        return m_error;
    }

private:
    bool usable() const { return m_client && !m_client->serverGone; }
    bool cancelled() const
    {
        const std::atomic<bool>* flag = m_cancel.load();
        return flag && flag->load();
    }

    // The program's own ports ("in-PID" and "out-PID" of any of its clients) are left out.
    bool isOwn(const std::string& name) const
    {
        for (const std::string* own : {&m_inPortName, &m_outPortName}) {
            const std::size_t at = name.find(":" + *own);
            if (at != std::string::npos && at + 1 + own->size() == name.size())
                return true;
        }
        return false;
    }
    std::vector<std::string> portNames(unsigned long direction) const
    {
        std::vector<std::string> names;
        if (!usable())
            return names;
        const char** ports = jack_get_ports(m_client->client, nullptr, JACK_DEFAULT_MIDI_TYPE, direction);
        for (const char** port = ports; port && *port; ++port)
            if (!isOwn(*port))
                names.emplace_back(*port);
        jack_free(ports);
        return names;
    }

    // Runs one request to the server within the bound; false when it failed or was given up.
    // While one that was given up still waits for its answer, the server is stuck: no other
    // request is made.
    // `requests`: how many the call makes, one after the other; each beyond the first adds a
    // little to the bound (a healthy server answers one in a few milliseconds, even under load).
    template <class Request>
    bool request(Request call, int requests = 1)
    {
        const auto bound = kRequestBound + (requests - 1) * kFurtherRequestBound;
        const std::string stuck = "the MIDI system did not answer within " + std::to_string(bound.count()) + " ms";
        if (m_client->requestUnderWay.exchange(true)) {
            m_error = stuck;
            return false;
        }
        if (cancelled()) {
            m_client->requestUnderWay = false;
            return false;
        }
        struct Answer {
            std::atomic<bool> done{false};
            std::atomic<bool> made{false};
        };
        auto answer = std::make_shared<Answer>();
        RunBounded([client = m_client, call, answer] {
            answer->made = call(client->client);
            client->requestUnderWay = false;
            answer->done = true;
            answer->done.notify_all();
        }, std::chrono::milliseconds(0));
        // In short steps, so that a cancel (a signal to `lumo`) ends the wait at once; the
        // request finishes on its own job.
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!answer->done.load() && !cancelled() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (!answer->done.load()) {
            m_error = cancelled() ? "cancelled" : stuck;
            m_serverStuck = m_serverStuck || !cancelled();
            return false;
        }
        return answer->made.load();
    }

    // Takes every connection from our `port`; with `settled`, returns once the process cycle
    // no longer sees them. A close does not wait for that: its callback is already stopped,
    // and the next open waits before it connects anew.
    bool disconnectAll(jack_port_t* port, bool settled = true)
    {
        if (jack_port_connected(port) == 0)
            return true;
        if (!request([port](jack_client_t* client) { return jack_port_disconnect(client, port) == 0; }))
            return false;
        return !settled || waitUntil([port] { return jack_port_connected(port) == 0; }, m_cancel.load());
    }

    // Our `port`'s connections as the process cycle sees them, by full name.
    static std::vector<std::string> connectionsOf(jack_port_t* port)
    {
        std::vector<std::string> names;
        if (const char** list = jack_port_get_connections(port)) {
            for (const char** name = list; *name; ++name)
                names.emplace_back(*name);
            jack_free(list);
        }
        return names;
    }

    // Takes the connections of our `port` that are not to one of `keep`, and returns once the
    // process cycle no longer sees them.
    bool disconnectOthers(jack_port_t* port, const std::vector<std::string>& keep)
    {
        const std::vector<std::string> connected = connectionsOf(port);
        std::vector<std::string> others;
        for (const std::string& name : connected)
            if (std::find(keep.begin(), keep.end(), name) == keep.end())
                others.push_back(name);
        if (others.empty())
            return true;
        if (others.size() == connected.size())
            return disconnectAll(port); // one request for all
        const std::string ours = jack_port_name(port);
        const bool outgoing = port == m_client->out;
        std::vector<std::pair<std::string, std::string>> taken; // source, destination
        for (const std::string& name : others)
            taken.emplace_back(outgoing ? ours : name, outgoing ? name : ours);
        // A port that vanished took its connection along: the wait below is the check.
        const bool answered = request([taken](jack_client_t* client) {
            for (const auto& [source, destination] : taken)
                jack_disconnect(client, source.c_str(), destination.c_str());
            return true;
        }, int(taken.size()));
        if (!answered)
            return false;
        return waitForConnections(port, others, false);
    }

    // Leaves our `port` connected to exactly `names`, changing only what differs.
    bool connectExactly(jack_port_t* port, const std::vector<std::string>& names)
    {
        return disconnectOthers(port, names) && connect(port, names);
    }

    // Connects our `port` to each of `names` beside what it has, and waits until the process
    // cycle sees every connection: a message sent before then would be lost.
    bool connect(jack_port_t* port, const std::vector<std::string>& names)
    {
        const std::string ours = jack_port_name(port);
        const bool outgoing = port == m_client->out;
        std::vector<std::pair<std::string, std::string>> missing; // source, destination
        for (const std::string& name : names)
            if (!jack_port_connected_to(port, name.c_str()))
                missing.emplace_back(outgoing ? ours : name, outgoing ? name : ours);
        // All in one job: a thread and a wait for each would cost more than the requests.
        const bool made = missing.empty() || request([missing](jack_client_t* client) {
            for (const auto& [source, destination] : missing) {
                const int result = jack_connect(client, source.c_str(), destination.c_str());
                if (result != 0 && result != EEXIST)
                    return false;
            }
            return true;
        }, int(missing.size()));
        if (!made)
            return false;
        return waitForConnections(port, names, true);
    }

    // Until the process cycle sees our `port` connected (or, with !connected, no longer
    // connected) to every one of `names`.
    bool waitForConnections(jack_port_t* port, const std::vector<std::string>& names, bool connected)
    {
        return waitUntil([&] {
            for (const std::string& name : names)
                if (bool(jack_port_connected_to(port, name.c_str())) != connected)
                    return false;
            return true;
        }, m_cancel.load());
    }

    std::shared_ptr<JackClient> m_client;
    std::string m_inPortName;
    std::string m_outPortName;
    std::string m_error;
    bool m_outputOpen = false;
    std::atomic<const std::atomic<bool>*> m_cancel{nullptr};
    bool m_serverStuck = false; // a request was given up on without a cancel
    std::vector<std::string> m_outputNames;
    std::vector<std::string> m_inputNames;
};

} // namespace

std::unique_ptr<MidiPorts> OpenJackPorts(const std::string& clientName)
{
    return std::make_unique<JackPorts>(clientName);
}
#endif

} // namespace lumo
