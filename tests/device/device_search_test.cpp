// The device search against the simulated MIDI system: pair order, the handshake judgement, the
// mark before CmdConnect, listening on every input at once, the remembered pair, CmdEnd after a
// failed search, ports that fail, and cancelling.
#include "tests/support/device_test_support.h"

#include "device/midi_system.h"

#include <QLoggingCategory>
#include <QRegularExpression>

namespace lumo {
namespace {

using testing::kTestTimeout;
using testing::MakeController;
using testing::OneController;
using Event = SimulatedPorts::Event;

// Two outputs (another device, the controller) and three inputs (nothing, the other device,
// the controller).
struct Crowd {
    explicit Crowd(bool oneInputAtATime)
    {
        other->misbehaviour().wrongIdentity = true;
        const int otherId = ports.addController(*other);
        const int lumoId = ports.addController(*lumo);
        ports.addOutput("Other out", otherId);
        ports.addOutput("Lumo out", lumoId);
        ports.addInput("Nothing", -1);
        ports.addInput("Other in", otherId);
        ports.addInput("Lumo in", lumoId);
        if (oneInputAtATime)
            ports.listenToOneOnly();
        link.setReplyTimeout(kTestTimeout);
        link.setHandshakeWait(kTestTimeout);
    }
    std::unique_ptr<VirtualController> other = MakeController();
    std::unique_ptr<VirtualController> lumo = MakeController();
    SimulatedPorts ports;
    DeviceLink link{ports};
};

TEST(DeviceSearch, OneInputAtATimeTriesEveryPairOutputMajor)
{
    Crowd crowd(true);
    EXPECT_TRUE(crowd.link.findDevice(IdentityReply).ok());
    EXPECT_EQ(crowd.link.inputCount(), 3);
    EXPECT_EQ(crowd.link.found(), (PortPair{"Lumo out", "Lumo in"}));
    EXPECT_EQ(crowd.link.heldOutput(), "Lumo out");
    // The controller's input (port 2) is the one held open: the last opened.
    ASSERT_FALSE(crowd.ports.inputsListened().empty());
    EXPECT_EQ(crowd.ports.inputsListened().back(), std::vector<int>{2});

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
    EXPECT_EQ(crowd.ports.events(), expected); // found: nothing more is sent, no CmdEnd
}

TEST(DeviceSearch, ListeningOnEveryInputFindsTheSamePairWithOneHandshakePerSilentOutput)
{
    Crowd crowd(false);
    EXPECT_TRUE(crowd.link.findDevice(IdentityReply).ok());
    EXPECT_EQ(crowd.link.found(), (PortPair{"Lumo out", "Lumo in"}));
    int toOther = 0;
    for (const Event& e : crowd.ports.events())
        toOther += e.kind == Event::Send && e.port == 0 && e.word == CmdConnect;
    EXPECT_EQ(toOther, 1) << "the other device's output is asked once, for all inputs";
    // All three inputs at once for each output, then one by one behind the output that answered.
    const std::vector<std::vector<int>> listened{{0, 1, 2}, {0}, {1}, {2}};
    EXPECT_EQ(crowd.ports.inputsListened(), listened);
}

TEST(DeviceSearch, SendingToManyHalvesThePortsAskedAndTakesTheFirstListedController)
{
    // 16 pairs; controllers behind pairs 6 and 9, nothing behind the others.
    std::unique_ptr<VirtualController> first = MakeController(), second = MakeController();
    SimulatedPorts ports;
    ports.sendToMany();
    const int firstId = ports.addController(*first), secondId = ports.addController(*second);
    for (int n = 0; n < 16; ++n) {
        const int device = n == 6 ? firstId : n == 9 ? secondId : -1;
        ports.addOutput("out " + std::to_string(n), device);
        ports.addInput("in " + std::to_string(n), device);
    }
    DeviceLink link{ports};
    link.setHandshakeWait(kTestTimeout);
    ASSERT_TRUE(link.findDevice(IdentityReply).ok());
    EXPECT_EQ(link.found(), (PortPair{"out 6", "in 6"}));
    int handshakes = 0;
    for (const std::uint32_t word : ports.sentWords())
        handshakes += word == CmdConnect;
    // All at once, four halvings of the outputs and of the inputs, the pair itself; one by
    // one it would take 7 outputs and 7 inputs.
    EXPECT_EQ(handshakes, 10);
}

TEST(DeviceSearch, TheRememberedPairIsTriedFirstAndAGoneOneChangesNothing)
{
    Crowd crowd(false);
    EXPECT_TRUE(crowd.link.findDevice(IdentityReply, {"Lumo out", "Lumo in"}).ok());
    EXPECT_EQ(crowd.ports.sentWords(), (std::vector<std::uint32_t>{CmdConnect, CmdIdentify}));

    Crowd gone(false);
    EXPECT_TRUE(gone.link.findDevice(IdentityReply, {"Lumo out", "Unplugged in"}).ok());
    EXPECT_EQ(gone.link.found(), (PortPair{"Lumo out", "Lumo in"}));
}

TEST(DeviceSearch, AnEchoAtOnceIsCountedBecauseTheMarkComesBeforeCmdConnect)
{
    // Inline delivery: the echo reaches the ring while CmdConnect is still being sent.
    OneController setup;
    for (int i = 0; i < 15; ++i)
        setup.link.ring().store(0x7F3C90);
    ASSERT_EQ(setup.link.ring().received() % kRingSize, 15u);
    EXPECT_TRUE(setup.link.findDevice(IdentityReply).ok());
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
        const LinkResult result = setup.link.findDevice(IdentityReply);
        EXPECT_EQ(result.error, LinkError::NotFound);
        EXPECT_EQ(result.pairs, 1);
        // Two passes, the second with a longer wait; not found: CmdEnd goes to the output held.
        const std::vector<std::uint32_t> sent{CmdConnect, CmdIdentify, CmdConnect, CmdIdentify, CmdEnd};
        EXPECT_EQ(setup.ports.sentWords(), sent);
        EXPECT_EQ(setup.link.heldOutput(), "Lumo out");
        EXPECT_TRUE(setup.link.found().empty());
    }
}

TEST(DeviceSearch, AnotherIdentityIsSearchedFor)
{
    OneController setup;
    setup.controller->misbehaviour().wrongIdentity = true;
    EXPECT_TRUE(setup.link.findDevice(VirtualController::kWrongIdentity).ok());
}

TEST(DeviceSearch, OutputsWithoutInputsAreEachOpenedAndClosedAndTheLastGetsCmdEnd)
{
    SimulatedPorts ports;
    ports.addOutput("A", -1);
    ports.addOutput("B", -1);
    DeviceLink link(ports);
    EXPECT_EQ(link.findDevice(IdentityReply).error, LinkError::NotFound);
    const std::vector<Event> expected{{Event::OpenOutput, 0}, {Event::CloseOutput, 0}, {Event::OpenOutput, 1},
                                      {Event::Send, 1, CmdEnd}};
    EXPECT_EQ(ports.events(), expected);
}

TEST(DeviceSearch, NoOutputsSendsNothingAndAnOutputHeldFromBeforeGetsCmdEnd)
{
    SimulatedPorts none;
    DeviceLink empty(none);
    EXPECT_FALSE(empty.findDevice(IdentityReply).ok());
    EXPECT_TRUE(none.events().empty());

    // The ports vanish after a search found the controller: no pair is tried, and CmdEnd goes
    // to the output still held from that search.
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.hidePorts(true);
    setup.ports.clearEvents();
    EXPECT_FALSE(setup.link.findDevice(IdentityReply).ok());
    const std::vector<Event> expected{{Event::Send, 0, CmdEnd}};
    EXPECT_EQ(setup.ports.events(), expected);
}

TEST(DeviceSearch, FailingOpensAndSendsMoveOnToTheNextPort)
{
    for (bool oneAtATime : {true, false}) {
        SimulatedPorts ports;
        auto lumo = MakeController();
        const int id = ports.addController(*lumo);
        ports.addOutput("Broken out", id);
        ports.addOutput("Lumo out", id);
        ports.addInput("Broken in", id);
        ports.addInput("Lumo in", id);
        ports.failOpenOutput(0);
        ports.failOpenInput(0);
        if (oneAtATime)
            ports.listenToOneOnly();
        DeviceLink link(ports);
        link.setReplyTimeout(kTestTimeout);
        link.setHandshakeWait(kTestTimeout);
        EXPECT_TRUE(link.findDevice(IdentityReply).ok()) << oneAtATime;
        EXPECT_EQ(link.found(), (PortPair{"Lumo out", "Lumo in"}));
    }

    // A CmdConnect that cannot be sent skips the pair without sending CmdIdentify; the second
    // pass finds the controller.
    OneController failing;
    failing.ports.failSendAfter(0);
    EXPECT_TRUE(failing.link.findDevice(IdentityReply).ok());
    const std::vector<std::uint32_t> sent{CmdConnect, CmdIdentify};
    EXPECT_EQ(failing.ports.sentWords(), sent);
}

TEST(DeviceSearch, RepliesOnTheBackendsOwnThreadAreFound)
{
    OneController setup(SimulatedPorts::Delivery::Thread);
    setup.link.setReplyTimeout(kReplyTimeout);
    setup.link.setHandshakeWait(kReplyTimeout);
    EXPECT_TRUE(setup.link.findDevice(IdentityReply).ok());
}

TEST(DeviceSearch, ACancelEndsTheSearchWithoutTryingFurtherPorts)
{
    SimulatedPorts ports;
    DeviceLink link(ports);
    // A device that never answers, and the user pressing Esc while it is asked.
    const int id = ports.addDevice([&link](std::uint32_t word, const SimulatedPorts::Reply&) {
        if (word == CmdIdentify)
            link.cancel();
    });
    ports.addOutput("Silent out", id);
    ports.addOutput("Later out", -1);
    ports.addInput("Silent in", id);
    link.setHandshakeWait(kReplyTimeout);
    EXPECT_EQ(link.findDevice(IdentityReply).error, LinkError::Cancelled);
    EXPECT_EQ(ports.sentWords(), (std::vector<std::uint32_t>{CmdConnect, CmdIdentify}));
}

TEST(DeviceSearch, NoMidiSystemIsReportedAsSuch)
{
    auto ports = OpenMidiPorts(MidiApi::None, "test");
    ASSERT_NE(ports, nullptr);
    EXPECT_EQ(ports->systemName(), "none");
    DeviceLink link(*ports);
    const LinkResult result = link.findDevice(IdentityReply);
    EXPECT_EQ(result.error, LinkError::NoMidiSystem);
    EXPECT_FALSE(result.detail.empty());
}

// The log that a bug report carries: silent by default; turned on, one line per pair tried
// with why it was not the controller, and the pair found.
QStringList g_logged;

void keepLogged(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QLatin1String(context.category) == QLatin1String("lumo.device")) g_logged.append(text);
}

TEST(DeviceSearch, TheLogNamesEachPairTriedAndWhyItFailed)
{
    const QtMessageHandler previous = qInstallMessageHandler(keepLogged);
    g_logged.clear();
    Crowd quiet(true);
    EXPECT_TRUE(quiet.link.findDevice(IdentityReply).ok());
    EXPECT_TRUE(g_logged.isEmpty()) << g_logged.join(QLatin1Char('\n')).toStdString();

    QLoggingCategory::setFilterRules(QStringLiteral("lumo.device.debug=true"));
    Crowd crowd(true);
    crowd.ports.failOpenInput(0);
    EXPECT_TRUE(crowd.link.findDevice(IdentityReply).ok());
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);

    const QString logged = g_logged.join(QLatin1Char('\n'));
    SCOPED_TRACE(logged.toStdString());
    EXPECT_TRUE(g_logged.value(0).startsWith(QLatin1String("search on")));
    EXPECT_TRUE(logged.contains(QLatin1String("tried \"Other out\" -> \"Nothing\" - the input does not open")));
    // The other device's replies are shown as they came: its echo, then its own identity.
    EXPECT_TRUE(logged.contains(QRegularExpression(
        QStringLiteral("tried \"Other out\" -> \"Other in\" - no echo and identity within \\d+ ms; came: 9C 01 02, 9C "))));
    EXPECT_TRUE(logged.contains(QRegularExpression(
        QStringLiteral("tried \"Lumo out\" -> \"Other in\" - no echo and identity within \\d+ ms; came: nothing"))));
    EXPECT_TRUE(logged.contains(QRegularExpression(QStringLiteral("tried \"Lumo out\" -> \"Lumo in\" - answered in \\d+ us"))));
    EXPECT_EQ(g_logged.constLast(), QStringLiteral("search found \"Lumo out\" -> \"Lumo in\""));
}

} // namespace
} // namespace lumo
