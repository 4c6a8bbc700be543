// A Vorel Lumo in software that someone plays: on virtual MIDI ports called NAME it answers the
// device search as the controller does, and once no request has come for 1.5 s after a search
// (longer than a read waits for a lost reply before it starts over), it sends each WORD (a
// packed short message in hex, B0 15 40 as 4015B0) every 100 ms; with --always, from the start
// and during transfers too (as a keyboard sends active sensing).
// Usage: played_controller NAME [--always] WORD...; runs until SIGINT or SIGTERM.
#include "device/midi_system.h"
#include "device/short_message.h"
#include "device/virtual_controller.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    const bool always = argc > 2 && std::string(argv[2]) == "--always";
    if (argc < (always ? 4 : 3)) {
        std::fprintf(stderr, "usage: played_controller NAME [--always] WORD...\n");
        return 2;
    }
    std::vector<std::uint32_t> words;
    for (int i = always ? 3 : 2; i < argc; ++i)
        words.push_back(std::uint32_t(std::strtoul(argv[i], nullptr, 16)));
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    lumo::VirtualController controller{lumo::SceneSet()};
    controller.onUnexpected = [](const std::string& what) { std::fprintf(stderr, "played_controller: %s\n", what.c_str()); };
    // Replies leave on the MIDI system's thread, the played words on this one: one at a time.
    std::mutex sending;
    std::atomic<lumo::VirtualMidiPorts*> output{nullptr};
    auto send = [&](std::uint32_t word) {
        std::lock_guard lock(sending);
        if (lumo::VirtualMidiPorts* ports = output.load())
            ports->send(word);
    };
    std::atomic<bool> identified{false};
    std::atomic<Clock::rep> lastRequest{Clock::now().time_since_epoch().count()};
    std::string error;
    auto ports = lumo::OpenVirtualMidiPorts(lumo::ChooseMidiApi(), argv[1], [&](std::uint32_t word) {
        lastRequest = Clock::now().time_since_epoch().count();
        controller.receive(word, send);
        if (word == lumo::CmdIdentify)
            identified = true;
    }, error);
    if (!ports) {
        std::fprintf(stderr, "played_controller: %s\n", error.c_str());
        return 1;
    }
    output = ports.get();

    const timespec period{0, 100'000'000};
    while (sigtimedwait(&stop, nullptr, &period) < 0) {
        const auto quiet = Clock::now() - Clock::time_point(Clock::duration(lastRequest.load()));
        if (always || (identified && quiet > std::chrono::milliseconds(1500)))
            for (std::uint32_t word : words)
                send(word);
    }
    output = nullptr;
    return 0;
}
