// The input callback's worst time: the link's callback (store into the ring, wake the waiter,
// push on Follow Controller's queue) called 1,000,000 times as the MIDI thread calls it, with a
// thread that waits for replies and one that drains the queue, as during Follow Controller.
// Prints the worst, the 99.9th percentile and the mean in microseconds. Run it as the MIDI
// thread runs under `jackd -R`: chrt -f 70 callback_worst_bench.
// Usage: callback_worst_bench [MESSAGES]
#include "device/device_link.h"
#include "device/short_message.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

namespace {

using namespace lumo;
using Clock = std::chrono::steady_clock;

// Ports whose one input callback the bench calls itself.
class CapturingPorts : public MidiPorts {
public:
    std::string systemName() const override { return "capturing"; }
    std::vector<std::string> outputNames() override { return {"out"}; }
    std::vector<std::string> inputNames() override { return {"in"}; }
    bool openOutput(const std::string&) override { return true; }
    void closeOutput() override {}
    bool openInput(const std::vector<std::string>&, MidiInputCallback callback) override
    {
        m_callback = std::move(callback);
        return true;
    }
    void closeInput() override { m_callback = nullptr; }
    // The handshake's replies come at once, so that the search finds "in".
    int send(std::uint32_t word) override
    {
        if (word == CmdConnect || word == CmdIdentify)
            m_callback(word == CmdConnect ? CmdConnect : IdentityReply);
        return 0;
    }
    MidiInputCallback m_callback;
};

} // namespace

int main(int argc, char** argv)
{
    const long messages = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1000000;
    CapturingPorts ports;
    DeviceLink link(ports);
    if (!link.findDevice(IdentityReply).ok()) {
        std::fprintf(stderr, "callback_worst_bench: the capturing ports were not found\n");
        return 1;
    }
    ListenerQueue queue;
    link.setListenerQueue(&queue);
    std::atomic<bool> done{false};
    std::thread drain([&] {
        while (!done.load()) {
            queue.waitForWord();
            while (queue.pop()) {
            }
        }
    });
    std::thread waiter([&] {
        while (!done.load())
            link.waitForArrivals(link.ring().received(), 1, std::chrono::milliseconds(50));
    });

    std::vector<double> micros(std::size_t(messages), 0.0);
    // The thread's own processor time too: the wall time of a call includes any time the
    // machine gave the thread's core to someone else.
    std::vector<double> cpuMicros(std::size_t(messages), 0.0);
    auto threadCpu = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
    };
    const MidiInputCallback callback = ports.m_callback;
    for (long i = 0; i < messages; ++i) {
        const std::uint32_t word = PackShortMessage(0xB0, std::uint8_t(i & 0x7F), 0x40);
        const double cpuStart = threadCpu();
        const auto start = Clock::now();
        callback(word);
        micros[std::size_t(i)] = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        cpuMicros[std::size_t(i)] = threadCpu() - cpuStart;
        // Bursts of 64, as a process cycle brings them, then a pause: the waiter and the drain
        // keep up, and a real-time run (chrt -f) is not throttled by the kernel.
        if ((i & 0x3F) == 0x3F)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    done = true;
    queue.wake();
    link.cancel();
    drain.join();
    waiter.join();
    link.setListenerQueue(nullptr);

    double sum = 0;
    for (double m : micros)
        sum += m;
    std::vector<double> sorted = micros;
    std::sort(sorted.begin(), sorted.end());
    std::sort(cpuMicros.begin(), cpuMicros.end());
    std::printf("callback over %ld messages: worst %.2f us, 99.9%% %.2f us, mean %.3f us (wall); worst %.2f us, "
                "99.9%% %.2f us (thread cpu, with the clock's own cost); queue dropped %u\n",
                messages, sorted.back(), sorted[std::size_t(double(sorted.size() - 1) * 0.999)], sum / double(messages),
                cpuMicros.back(), cpuMicros[std::size_t(double(cpuMicros.size() - 1) * 0.999)], queue.dropped());
    return 0;
}
