// FindDevice against the simulated MIDI system: pair order, the handshake judgement, marks,
// CmdEnd after a failed search, and ports that fail.
#include "tests/support/device_test_support.h"

#include "device/midi_system.h"

namespace lumo {
namespace {

using testing::kTestTimeout;
using testing::MakeController;
using testing::OneController;
using Event = SimulatedPorts::Event;

TEST(DeviceSearch, TriesPairsOutputMajorPastASilentPairAndAWrongIdentity)
{
    SimulatedPorts ports;
    auto other = MakeController();
    other->misbehaviour().wrongIdentity = true;
    auto lumo = MakeController();
    const int otherId = ports.addController(*other);
    const int lumoId = ports.addController(*lumo);
    ports.addOutput("Other out", otherId);
    ports.addOutput("Lumo out", lumoId);
    ports.addInput("Nothing", -1);
    ports.addInput("Other in", otherId);
    ports.addInput("Lumo in", lumoId);
    DeviceLink link(ports);
    link.setReplyTimeout(kTestTimeout);

    EXPECT_EQ(link.FindDevice(IdentityReply), 0);
    EXPECT_EQ(link.outputCount(), 2);
    EXPECT_EQ(link.inputCount(), 3);
    EXPECT_EQ(link.heldOutput(), 1);
    EXPECT_EQ(link.heldInput(), 2);

    auto tried = [](int o, int i) {
        return std::vector<Event>{{Event::OpenInput, i}, {Event::Send, o, CmdConnect}, {Event::Send, o, CmdIdentify}};
    };
    std::vector<Event> expected{{Event::OpenOutput, 0}};
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            expected.push_back({Event::CloseInput, i - 1});
        for (const Event& e : tried(0, i))
            expected.push_back(e);
    }
    expected.push_back({Event::CloseOutput, 0});
    expected.push_back({Event::OpenOutput, 1});
    for (int i = 0; i < 3; ++i) {
        expected.push_back({Event::CloseInput, i == 0 ? 2 : i - 1});
        for (const Event& e : tried(1, i))
            expected.push_back(e);
    }
    EXPECT_EQ(ports.events(), expected); // found: nothing more is sent, no CmdEnd
}

TEST(DeviceSearch, MarkAt15TakesTheRepliesFromSlots15And0)
{
    OneController setup;
    for (int i = 0; i < 15; ++i)
        setup.link.ring().OnMidiInput(MidiInputKind::Data, 0x7F3C90);
    ASSERT_EQ(setup.link.ring().writeIndex(), 15);
    EXPECT_EQ(setup.link.FindDevice(IdentityReply), 0);
    EXPECT_EQ(setup.link.ring().slot(15), CmdConnect);
    EXPECT_EQ(setup.link.ring().slot(0), IdentityReply);
}

TEST(DeviceSearch, HandshakeFaultsAreNotTheController)
{
    struct Case {
        const char* what;
        void (*spoil)(VirtualController::Misbehaviour&);
    };
    const Case cases[] = {
        {"wrong echo", [](VirtualController::Misbehaviour& m) { m.wrongEcho = true; }},
        {"wrong identity", [](VirtualController::Misbehaviour& m) { m.wrongIdentity = true; }},
        {"stray message before the replies", [](VirtualController::Misbehaviour& m) { m.strayBeforeReplies = true; }},
        {"no answer", [](VirtualController::Misbehaviour& m) { m.noAnswer = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneController setup;
        c.spoil(setup.controller->misbehaviour());
        EXPECT_EQ(setup.link.FindDevice(IdentityReply), 1);
        // Not found: CmdEnd goes to the output still held.
        const std::vector<std::uint32_t> sent{CmdConnect, CmdIdentify, CmdEnd};
        EXPECT_EQ(setup.ports.sentWords(), sent);
        EXPECT_EQ(setup.link.heldOutput(), 0);
    }
}

TEST(DeviceSearch, AnotherIdentityIsSearchedFor)
{
    OneController setup;
    setup.controller->misbehaviour().wrongIdentity = true;
    EXPECT_EQ(setup.link.FindDevice(VirtualController::kWrongIdentity), 0);
}

TEST(DeviceSearch, OutputsWithoutInputsAreEachOpenedAndClosedAndTheLastGetsCmdEnd)
{
    SimulatedPorts ports;
    ports.addOutput("A", -1);
    ports.addOutput("B", -1);
    DeviceLink link(ports);
    EXPECT_EQ(link.FindDevice(IdentityReply), 1);
    const std::vector<Event> expected{{Event::OpenOutput, 0}, {Event::CloseOutput, 0}, {Event::OpenOutput, 1},
                                      {Event::Send, 1, CmdEnd}};
    EXPECT_EQ(ports.events(), expected);
}

TEST(DeviceSearch, NoOutputsSendsNothingAndAnOutputHeldFromBeforeGetsCmdEnd)
{
    SimulatedPorts none;
    DeviceLink empty(none);
    EXPECT_EQ(empty.FindDevice(IdentityReply), 1);
    EXPECT_TRUE(none.events().empty());

    // The ports vanish after a search found the controller: no pair is tried, and CmdEnd goes
    // to the output still held from that search.
    OneController setup;
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.ports.hidePorts(true);
    setup.ports.clearEvents();
    EXPECT_EQ(setup.link.FindDevice(IdentityReply), 1);
    const std::vector<Event> expected{{Event::Send, 0, CmdEnd}};
    EXPECT_EQ(setup.ports.events(), expected);
}

TEST(DeviceSearch, FailingOpensAndSendsMoveOnToTheNextPort)
{
    SimulatedPorts ports;
    auto lumo = MakeController();
    const int id = ports.addController(*lumo);
    ports.addOutput("Broken out", id);
    ports.addOutput("Lumo out", id);
    ports.addInput("Broken in", id);
    ports.addInput("Lumo in", id);
    ports.failOpenOutput(0);
    ports.failOpenInput(0);
    DeviceLink link(ports);
    link.setReplyTimeout(kTestTimeout);
    EXPECT_EQ(link.FindDevice(IdentityReply), 0);
    EXPECT_EQ(link.heldOutput(), 1);
    EXPECT_EQ(link.heldInput(), 1);

    // A CmdConnect that cannot be sent skips the pair without sending CmdIdentify.
    OneController failing;
    failing.ports.failSendAfter(0);
    EXPECT_EQ(failing.link.FindDevice(IdentityReply), 1);
    const std::vector<std::uint32_t> sent{CmdEnd};
    EXPECT_EQ(failing.ports.sentWords(), sent);
}

TEST(DeviceSearch, RepliesOnTheBackendsOwnThreadAreFound)
{
    OneController setup(SimulatedPorts::Delivery::Thread);
    setup.link.setReplyTimeout(kReplyTimeout);
    EXPECT_EQ(setup.link.FindDevice(IdentityReply), 0);
}

TEST(DeviceSearch, NoMidiSystemIsAMachineWithoutPorts)
{
    auto ports = OpenMidiPorts(MidiApi::None, "test");
    ASSERT_NE(ports, nullptr);
    EXPECT_EQ(ports->systemName(), "none");
    DeviceLink link(*ports);
    EXPECT_EQ(link.FindDevice(IdentityReply), 1);
    EXPECT_EQ(link.outputCount(), 0);
}

} // namespace
} // namespace lumo
