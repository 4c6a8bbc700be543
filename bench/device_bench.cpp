// The cost of the device link itself: a full read and a full send against the in-process
// simulated controller (the time per request and reply that the link adds), and the CPU time
// that a wait for a reply costs when the reply comes only after 200 ms.
#include "device/device_link.h"
#include "device/scene_transfer.h"
#include "device/short_message.h"
#include "tests/support/simulated_ports.h"
#include "device/virtual_controller.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <thread>

namespace lumo {
namespace {

struct Rig {
    explicit Rig(SimulatedPorts::Delivery delivery)
        : ports(delivery), controller(SceneSet()), link(ports)
    {
        const int device = ports.addController(controller);
        ports.addOutput("Lumo out", device);
        ports.addInput("Lumo in", device);
        if (!link.findDevice(IdentityReply).ok())
            throw std::runtime_error("simulated controller not found");
    }
    SimulatedPorts ports;
    VirtualController controller;
    DeviceLink link;
};

// Requests and replies of one full read: CmdReadStart and 1,024 CmdNextByte, each answered.
constexpr int kReadRoundTrips = 1 + 1024;
// Messages of one full send: CmdSendStart, the block count and 1,024 data bytes.
constexpr int kSendMessages = 2 + 1024;

void perRequestCounter(benchmark::State& state, int perIteration)
{
    state.counters["per_request"] = benchmark::Counter(double(state.iterations()) * perIteration,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A full read, then a full send. Argument 0: replies given on the sender's thread, so what
// remains is the link's own work per round trip. Argument 1: replies from another thread, as a
// MIDI backend delivers them, which adds the thread hand-over.
SimulatedPorts::Delivery deliveryOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? SimulatedPorts::Delivery::Inline : SimulatedPorts::Delivery::Thread;
}

void BM_FullRead(benchmark::State& state)
{
    Rig rig(deliveryOf(state));
    ImageBuffer image{};
    for (auto _ : state) {
        if (!ReadSceneImage(rig.link, 916, image, 1).ok())
            state.SkipWithError("read failed");
        rig.ports.clearEvents();
    }
    perRequestCounter(state, kReadRoundTrips);
}
BENCHMARK(BM_FullRead)->ArgName("other_thread")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullSend(benchmark::State& state)
{
    Rig rig(deliveryOf(state));
    ImageBuffer image{};
    for (auto _ : state) {
        if (!SendSceneImage(rig.link, 916, image).ok())
            state.SkipWithError("send failed");
        rig.ports.clearEvents();
    }
    perRequestCounter(state, kSendMessages);
}
BENCHMARK(BM_FullSend)->ArgName("other_thread")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// One wait for a reply that arrives after 200 ms: the share of one core that the waiting
// thread spends meanwhile.
void BM_WaitForSlowReply(benchmark::State& state)
{
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        ReceiveRing ring;
        ReplySignal signal;
        const std::uint32_t mark = ring.received();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = threadCpuSeconds();
        std::thread device([&ring, &signal] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ring.store(CmdEnd);
            signal.notify();
        });
        const bool arrived = signal.waitFor([&] { return ring.arrivedSince(mark) >= 1; }, kReplyTimeout)
                             == ReplySignal::Woken::Arrived;
        cpu += threadCpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        device.join();
        if (!arrived)
            state.SkipWithError("reply missed");
    }
    state.counters["core_percent"] = 100.0 * cpu / wall;
    state.counters["cpu_ms_per_wait"] = 1000.0 * cpu / double(state.iterations());
}
BENCHMARK(BM_WaitForSlowReply)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
} // namespace lumo
