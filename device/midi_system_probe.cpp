// Probing ALSA and JACK; the libraries' own printing goes into LastMidiSystemMessage instead of
// the terminal.
#include "device/midi_system.h"

#if defined(__linux__)
#include <alsa/asoundlib.h>
#endif
#if defined(LUMO_HAVE_JACK)
#include <jack/jack.h>
#endif

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

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

} // namespace lumo
