// Probing ALSA and JACK, and the JACK connection check; the libraries' own printing goes into
// LastMidiSystemMessage instead of the terminal.
#include "device/midi_system.h"

#if defined(__linux__)
#include <alsa/asoundlib.h>
#endif
#if defined(LUMO_HAVE_JACK)
#include <jack/jack.h>
#endif

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <mutex>
#include <thread>

namespace lumo {
namespace {

std::mutex g_messageMutex;
std::string g_lastMessage;

void keepMessage(const char* text)
{
    std::lock_guard lock(g_messageMutex);
    g_lastMessage = text ? text : "";
}

#if defined(__linux__)
void alsaMessage(const char* file, int line, const char* function, int err, const char* fmt, ...)
{
    (void)file;
    (void)line;
    (void)function;
    (void)err;
    char text[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    keepMessage(text);
}

#endif

#if defined(LUMO_HAVE_JACK)
void jackMessage(const char* text) { keepMessage(text); }
#endif

void silenceLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
#if defined(__linux__)
        snd_lib_error_set_handler(alsaMessage);
#endif
#if defined(LUMO_HAVE_JACK)
        jack_set_error_function(jackMessage);
        jack_set_info_function(jackMessage);
#endif
    });
}

} // namespace

std::string LastMidiSystemMessage()
{
    std::lock_guard lock(g_messageMutex);
    return g_lastMessage;
}

bool AlsaSequencerOpens()
{
#if !defined(__linux__)
    return false;
#else
    silenceLibraries();
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0)
        return false;
    snd_seq_close(sequencer);
    return true;
#endif
}

bool JackServerRuns()
{
#if !defined(LUMO_HAVE_JACK)
    return false;
#else
    silenceLibraries();
    jack_status_t status{};
    jack_client_t* client = jack_client_open("lumo-probe", JackNoStartServer, &status);
    if (!client)
        return false;
    jack_client_close(client);
    return true;
#endif
}

MidiApi ChooseMidiApi()
{
#if !defined(__linux__)
    return MidiApi::Platform;
#endif
    if (const char* forced = std::getenv("LUMO_MIDI_API")) {
        if (std::strcmp(forced, "alsa") == 0)
            return AlsaSequencerOpens() ? MidiApi::Alsa : MidiApi::None;
        if (std::strcmp(forced, "jack") == 0)
            return JackServerRuns() ? MidiApi::Jack : MidiApi::None;
    }
    if (AlsaSequencerOpens())
        return MidiApi::Alsa;
    if (JackServerRuns())
        return MidiApi::Jack;
    return MidiApi::None;
}

const char* MidiApiName(MidiApi api)
{
    switch (api) {
    case MidiApi::Alsa: return "ALSA";
    case MidiApi::Jack: return "JACK";
    case MidiApi::Platform: return "platform";
    case MidiApi::None: break;
    }
    return "none";
}

#if defined(LUMO_HAVE_JACK)
std::unique_ptr<JackInspector> JackInspector::open()
{
    silenceLibraries();
    jack_status_t status{};
    jack_client_t* client = jack_client_open("lumo-inspector", JackNoStartServer, &status);
    if (!client)
        return nullptr;
    return std::unique_ptr<JackInspector>(new JackInspector(client));
}

JackInspector::~JackInspector()
{
    jack_client_close(static_cast<jack_client_t*>(m_client));
}

bool JackInspector::connectedTo(const std::string& target, const std::string& suffix) const
{
    // Many process cycles even at large periods (4096 frames at 44.1 kHz is 93 ms).
    constexpr auto kConnectionTimeout = std::chrono::milliseconds(500);
    const auto deadline = std::chrono::steady_clock::now() + kConnectionTimeout;
    while (!connectedNow(target, suffix)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

bool JackInspector::connectedNow(const std::string& target, const std::string& suffix) const
{
    auto* client = static_cast<jack_client_t*>(m_client);
    jack_port_t* port = jack_port_by_name(client, target.c_str());
    if (!port)
        return false;
    const char** connections = jack_port_get_all_connections(client, port);
    if (!connections)
        return false;
    bool found = false;
    for (const char** name = connections; *name && !found; ++name) {
        const std::string full(*name);
        found = full.size() >= suffix.size() && full.compare(full.size() - suffix.size(), suffix.size(), suffix) == 0;
    }
    jack_free(connections);
    return found;
}

bool JackInspector::connect(const std::string& source, const std::string& suffix) const
{
    auto* client = static_cast<jack_client_t*>(m_client);
    const char** ours = jack_get_ports(client, (suffix + "$").c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
    if (!ours)
        return false;
    const int result = ours[0] ? jack_connect(client, source.c_str(), ours[0]) : -1;
    jack_free(ours);
    return result == 0 || result == EEXIST;
}

std::chrono::milliseconds JackInspector::roundTripLatency() const
{
    auto* client = static_cast<jack_client_t*>(m_client);
    const double rate = jack_get_sample_rate(client);
    if (rate <= 0)
        return std::chrono::milliseconds(0);
    const double period = 1000.0 * jack_get_buffer_size(client) / rate;
    return std::chrono::milliseconds(int(3 * period + 1));
}

#else
std::unique_ptr<JackInspector> JackInspector::open() { return nullptr; }
bool JackInspector::connect(const std::string&, const std::string&) const { return false; }
std::chrono::milliseconds JackInspector::roundTripLatency() const { return std::chrono::milliseconds(0); }
JackInspector::~JackInspector() = default;
bool JackInspector::connectedTo(const std::string&, const std::string&) const { return false; }
bool JackInspector::connectedNow(const std::string&, const std::string&) const { return false; }
#endif

} // namespace lumo
