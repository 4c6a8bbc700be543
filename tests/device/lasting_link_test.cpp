// A link that lasts the session, on the simulated ports: the watcher's events, the MIDI system
// opened again after it went away, the controller found again after a replug, the remembered
// pair tried again in full, the choice among several controllers.
#include "tests/support/device_test_support.h"

#include "device/port_watcher.h"
#include "device/reopening_ports.h"
#include "device/scene_transfer.h"

#include <condition_variable>
#include <mutex>

namespace lumo {
namespace {

using testing::kTestTimeout;
using testing::MakeController;
using testing::OneController;

// The changes a watcher reported, waited for without sleeping in steps.
struct ChangeLog {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<PortChange::Kind> kinds;
    std::vector<std::size_t> outputCounts;

    void take(const PortChange& change)
    {
        std::lock_guard lock(mutex);
        kinds.push_back(change.kind);
        outputCounts.push_back(change.now.outputs.size());
        changed.notify_all();
    }
    bool waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return kinds.size() >= count; });
    }
};

TEST(PortWatcher, ReportsTheStartPortsThatComeAndGoAndTheSystemGoingAndComingBack)
{
    OneController setup;
    ChangeLog log;
    // A long interval: the simulated ports notify, as JACK does, so nothing waits for a poll.
    PortWatcher watcher(setup.ports, [&](const PortChange& change) { log.take(change); }, std::chrono::seconds(30));
    ASSERT_TRUE(log.waitFor(1));
    setup.ports.replug(false);
    ASSERT_TRUE(log.waitFor(2));
    setup.ports.replug(true);
    ASSERT_TRUE(log.waitFor(3));
    setup.ports.setSystemUp(false);
    ASSERT_TRUE(log.waitFor(4));
    setup.ports.setSystemUp(true);
    ASSERT_TRUE(log.waitFor(5));
    std::lock_guard lock(log.mutex);
    EXPECT_EQ(log.kinds, (std::vector<PortChange::Kind>{PortChange::SystemBack, PortChange::PortsChanged,
                                                         PortChange::PortsChanged, PortChange::SystemGone,
                                                         PortChange::SystemBack}));
    EXPECT_EQ(log.outputCounts, (std::vector<std::size_t>{1, 0, 1, 0, 1}));
}

TEST(PortWatcher, PollsASystemThatDoesNotNotify)
{
    OneController setup;
    ChangeLog log;
    PortWatcher watcher(setup.ports, [&](const PortChange& change) { log.take(change); }, std::chrono::milliseconds(10));
    ASSERT_TRUE(log.waitFor(1));
    setup.ports.setChangeNotifier({}); // as RtMidi: nobody tells the watcher
    setup.ports.hidePorts(true);
    ASSERT_TRUE(log.waitFor(2));
    std::lock_guard lock(log.mutex);
    EXPECT_EQ(log.kinds.back(), PortChange::PortsChanged);
}

TEST(LastingLink, AReplugUnderTheSameNamesIsFoundAgainAndReadsOnTheNewConnections)
{
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    const PortPair remembered = setup.link.found();
    setup.ports.replug(false);
    setup.ports.replug(true);
    // The names are the old ones, but nothing is connected to the new ports: the search opens
    // them anew instead of trusting the names.
    ASSERT_TRUE(setup.link.findDevice(IdentityReply, remembered).ok());
    EXPECT_EQ(setup.link.found(), remembered);
    ImageBuffer image{};
    EXPECT_TRUE(ReadSceneImage(setup.link, 916, image, 1).ok());
}

TEST(LastingLink, ASystemThatWentAwayOrWasAbsentIsOpenedAgainOnTheNextSearch)
{
    std::vector<std::unique_ptr<SimulatedPorts>> systems; // what each open made, kept by the test
    auto controller = MakeController();
    bool serverRuns = false;
    SimulatedPorts* lastOpened = nullptr;
    ReopeningPorts ports([&]() -> std::unique_ptr<MidiPorts> {
        auto made = std::make_unique<SimulatedPorts>();
        made->setSystemUp(serverRuns);
        const int device = made->addController(*controller);
        made->addOutput("Lumo out", device);
        made->addInput("Lumo in", device);
        lastOpened = made.get();
        return made;
    });
    DeviceLink link(ports);
    link.setReplyTimeout(kTestTimeout);
    link.setHandshakeWait(kTestTimeout);
    EXPECT_EQ(link.findDevice(IdentityReply).error, LinkError::NoMidiSystem) << "no server at the start";
    serverRuns = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // past the retry interval
    ASSERT_TRUE(link.findDevice(IdentityReply).ok());
    EXPECT_EQ(ports.opens(), 1);

    lastOpened->setSystemUp(false); // the server stops under the running link, and is back at once
    ASSERT_TRUE(link.findDevice(IdentityReply).ok());
    EXPECT_EQ(ports.opens(), 2);
    ImageBuffer image{};
    EXPECT_TRUE(ReadSceneImage(link, 916, image, 1).ok());
}

TEST(LastingLink, ARememberedPairThatMissesItsFirstWaitIsTriedAgainInTheFullPass)
{
    SimulatedPorts ports(SimulatedPorts::Delivery::Thread);
    auto controller = MakeController();
    // Slower than the first wait, well within the second pass's.
    controller->misbehaviour().replyDelay = std::chrono::milliseconds(40);
    const int device = ports.addController(*controller);
    ports.addOutput("Lumo out", device);
    ports.addInput("Lumo in", device);
    DeviceLink link(ports);
    link.setReplyTimeout(std::chrono::milliseconds(1000));
    link.setHandshakeWait(std::chrono::milliseconds(20));
    ASSERT_TRUE(link.findDevice(IdentityReply, {"Lumo out", "Lumo in"}).ok());
    EXPECT_EQ(link.found(), (PortPair{"Lumo out", "Lumo in"}));
}

TEST(LastingLink, TwoControllersAreBothListedByAScanAndEitherIsChosenByName)
{
    SimulatedPorts ports;
    auto first = MakeController();
    auto second = MakeController();
    const int a = ports.addController(*first);
    const int b = ports.addController(*second);
    ports.addOutput("Lumo A out", a);
    ports.addOutput("Lumo B out", b);
    ports.addInput("Lumo A in", a);
    ports.addInput("Lumo B in", b);
    DeviceLink link(ports);
    link.setReplyTimeout(kTestTimeout);
    link.setHandshakeWait(kTestTimeout);

    ASSERT_TRUE(link.scanDevices(IdentityReply).ok());
    EXPECT_EQ(link.answering(), (std::vector<PortPair>{{"Lumo A out", "Lumo A in"}, {"Lumo B out", "Lumo B in"}}));
    EXPECT_EQ(link.found(), (PortPair{"Lumo A out", "Lumo A in"})) << "the first stays open";

    ASSERT_TRUE(link.findDevice(IdentityReply, {}, "B in").ok());
    EXPECT_EQ(link.found(), (PortPair{"Lumo B out", "Lumo B in"}));
    ImageBuffer image{};
    ASSERT_TRUE(ReadSceneImage(link, 916, image, 1).ok());
    EXPECT_EQ(second->readsCompleted(), 1);
    EXPECT_EQ(first->readsCompleted(), 0);
    EXPECT_EQ(link.findDevice(IdentityReply, {}, "C").error, LinkError::NotFound);

    // A remembered pair that mixes the two answers nobody; the search goes on and takes the
    // first pair in order.
    ASSERT_TRUE(link.findDevice(IdentityReply, {"Lumo A out", "Lumo B in"}).ok());
    EXPECT_EQ(link.found(), (PortPair{"Lumo A out", "Lumo A in"}));
}

} // namespace
} // namespace lumo
