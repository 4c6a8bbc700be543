// The device search alone, in the MIDI system that the machine offers (the JACK benchmark
// script starts a server with silent clients and the virtual controller): RUNS searches with no
// remembered pair and RUNS with the pair just found remembered, each on a fresh link. Prints
// the two medians in milliseconds: "SEARCH_MS REMEMBERED_MS".
// Usage: jack_search_bench [RUNS]
#include "device/device_link.h"
#include "device/midi_system.h"
#include "device/short_message.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    using namespace lumo;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    auto ports = OpenMidiPorts(ChooseMidiApi(), "lumo-bench");
    std::vector<double> fresh, remembered;
    for (int run = 0; run < runs; ++run) {
        for (const bool remember : {false, true}) {
            PortPair first;
            if (remember) {
                DeviceLink probe(*ports);
                if (probe.findDevice(IdentityReply).ok())
                    first = probe.found();
            }
            DeviceLink link(*ports);
            const auto start = std::chrono::steady_clock::now();
            const bool found = link.findDevice(IdentityReply, first).ok();
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (!found) {
                std::fprintf(stderr, "jack_search_bench: no controller found\n");
                return 1;
            }
            (remember ? remembered : fresh).push_back(ms);
        }
    }
    std::printf("%.1f %.1f\n", medianOf(fresh), medianOf(remembered));
    return 0;
}
