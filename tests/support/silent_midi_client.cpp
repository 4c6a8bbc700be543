// A MIDI client that offers one input and one output port and never answers: the kind of
// program (a synthesizer, a sequencer) that the device search meets before the controller.
// Usage: silent_midi_client NAME; runs until SIGINT or SIGTERM.
#include "device/midi_system.h"

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: silent_midi_client NAME\n");
        return 2;
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    std::string error;
    auto ports = lumo::OpenVirtualMidiPorts(lumo::ChooseMidiApi(), argv[1], [](std::uint32_t) {}, error);
    if (!ports) {
        std::fprintf(stderr, "silent_midi_client: %s\n", error.c_str());
        return 1;
    }
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
