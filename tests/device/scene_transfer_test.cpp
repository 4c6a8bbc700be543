// ReadSceneImage and SendSceneImage against the simulated controller: message sequences, block
// counts, padding, progress, the read's write-index resets, and each way a transfer fails.
#include "tests/support/device_test_support.h"

#include "device/scene_image.h"
#include "device/scene_transfer.h"
#include "scene/parameter_files.h"

#include <algorithm>

namespace lumo {
namespace {

using testing::kTestTimeout;
using testing::OneController;

struct ProgressLog {
    std::vector<int> percents;
    std::vector<bool> shows;
    TransferProgress hooks()
    {
        return {[this](bool visible) { shows.push_back(visible); }, [this](int p) { percents.push_back(p); }, {}};
    }
};

SceneSet DistinctScenes()
{
    SceneSet scenes;
    for (int s = 1; s <= 4; ++s) {
        SetSceneName(scenes.scene(s), "SCENE " + std::to_string(s) + " NAME");
        for (int k = 0; k < kKeyCount; ++k)
            scenes.scene(s).KeyCCNumber[k] = (s * 31 + k * 7) % 256;
        for (int p = 0; p < kPadCount; ++p)
            scenes.scene(s).PadMIDICh[p] = (s + p) % 17;
        scenes.scene(s).KeyTrans = 13 + s;
    }
    return scenes;
}

TEST(ReadSceneImage, DefaultsRequest1024BytesAndKeepTheFirst916)
{
    OneController setup;
    setup.controller->setScenes(DistinctScenes());
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    ImageBuffer image;
    image.fill(0xEE);
    ProgressLog progress;
    EXPECT_TRUE(ReadSceneImage(setup.link, 916, image, 1, progress.hooks()).ok());

    std::vector<std::uint32_t> expected{CmdReadStart};
    expected.insert(expected.end(), 1024, CmdNextByte);
    expected.push_back(CmdEnd);
    EXPECT_EQ(setup.ports.sentWords(), expected);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 916, setup.controller->image().begin()));
    EXPECT_TRUE(std::all_of(image.begin() + 916, image.end(), [](std::uint8_t b) { return b == 0xEE; }))
        << "bytes at or beyond the transfer length are dropped";
    EXPECT_EQ(setup.controller->readsCompleted(), 1);

    ASSERT_EQ(progress.percents.size(), 1024u);
    EXPECT_EQ(progress.percents[0], 1);
    EXPECT_EQ(progress.percents[511], 50);
    EXPECT_EQ(progress.percents[512], 51);
    EXPECT_EQ(progress.percents[1023], 100);
    EXPECT_EQ(progress.shows, (std::vector<bool>{true, false}));

    SceneSet read;
    UnpackSceneImage(image.data(), read);
    EXPECT_EQ(read, setup.controller->scenes());
}

// A device whose replies the test writes itself.
struct ScriptedDevice {
    SimulatedPorts ports;
    DeviceLink link{ports};
    std::vector<std::uint32_t> byteReplies;
    std::uint32_t countReply = 0x00019C; // m = 0
    std::size_t next = 0;
    bool extraAfterEachByte = false;

    ScriptedDevice()
    {
        const int id = ports.addDevice([this](std::uint32_t word, const SimulatedPorts::Reply& reply) {
            if (word == CmdConnect)
                return;
            if (word == CmdIdentify) {
                reply(CmdConnect);
                reply(IdentityReply);
            } else if (word == CmdReadStart) {
                reply(CmdReadStart);
                reply(countReply);
            } else if (word == CmdNextByte) {
                reply(next < byteReplies.size() ? byteReplies[next] : 0x000090);
                ++next;
                if (extraAfterEachByte)
                    reply(0x7F7F9C); // something unasked right behind every byte
            }
        });
        ports.addOutput("out", id);
        ports.addInput("in", id);
        link.setReplyTimeout(kTestTimeout);
        EXPECT_TRUE(link.findDevice(IdentityReply).ok());
        ports.clearEvents();
    }
};

TEST(ReadSceneImage, UsesOnlyTheLow4BitsOfEachDataByte)
{
    ScriptedDevice device;
    device.byteReplies = {0x0A0590, 0x7A3590, 0x0F0F00}; // 05 0A, 35 7A, and a status never looked at
    ImageBuffer image{};
    EXPECT_TRUE(ReadSceneImage(device.link, 3, image, 1, {}).ok());
    EXPECT_EQ(image[0], 0x5A);
    EXPECT_EQ(image[1], 0x5A);
    EXPECT_EQ(image[2], 0xFF);
}

TEST(ReadSceneImage, CountsThatDoNotCoverTheLengthFailBeforeAnyByteIsRequested)
{
    struct Case {
        const char* what;
        std::uint32_t countReply;
        int blockAddOne;
    };
    const Case cases[] = {
        {"one block for 916 bytes", 0x00019C, 1},
        {"BlockAddOne 0", 0x00019C, 0},
        {"BlockAddOne -1", 0x01019C, -1},
        {"BlockAddOne 2147483647", 0x01019C, 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDevice device;
        device.countReply = c.countReply;
        ImageBuffer image;
        image.fill(0x11);
        const LinkResult result = ReadSceneImage(device.link, 916, image, c.blockAddOne, {});
        EXPECT_EQ(result.error, LinkError::CountUnusable);
        EXPECT_EQ(device.ports.sentWords(), (std::vector<std::uint32_t>{CmdReadStart}));
        EXPECT_EQ(image[0], 0x11);
    }
}

TEST(ReadSceneImage, FailuresStopAtOnceWithoutCmdEndAndLeaveTheImage)
{
    struct Case {
        const char* what;
        void (*spoil)(OneController&);
        LinkError error;
        std::size_t sent; // CmdReadStart and the CmdNextByte requests
    };
    const Case cases[] = {
        {"first reply is not the echo",
         [](OneController& s) { s.controller->misbehaviour().strayBeforeReplies = true; }, LinkError::WrongReply, 1},
        // Each restart: the handshake, CmdReadStart and the requests up to the silence again.
        {"silence after 100 bytes", [](OneController& s) { s.controller->misbehaviour().silentAfterBytes = 100; },
         LinkError::NoReply, 1 + 101 + kReadRestarts * (2 + 1 + 101)},
        {"a key played after byte 300",
         [](OneController& s) { s.controller->misbehaviour().strayAfterBytes = 300; }, LinkError::Unasked, 1 + 301},
        {"a request that cannot be sent", [](OneController& s) { s.ports.failSendAfter(11); }, LinkError::SendFailed, 11},
        {"the controller unplugged after 100 bytes",
         [](OneController& s) {
             s.controller->misbehaviour().silentAfterBytes = 100;
             s.ports.hidePorts(true);
         },
         LinkError::PortVanished, 1 + 101},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneController setup;
        ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
        setup.ports.clearEvents();
        c.spoil(setup);
        ImageBuffer image;
        image.fill(0xEE);
        ProgressLog progress;
        const LinkResult result = ReadSceneImage(setup.link, 916, image, 1, progress.hooks());
        EXPECT_EQ(result.error, c.error);
        const auto sent = setup.ports.sentWords();
        EXPECT_EQ(sent.size(), c.sent);
        EXPECT_NE(sent.back(), CmdEnd);
        EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0xEE; }));
        EXPECT_EQ(progress.shows.back(), false);
    }
}

TEST(ReadSceneImage, ALostReplyRestartsTheReadFromItsStartAndTakesNoByteOfTheBrokenOne)
{
    OneController setup;
    setup.controller->setScenes(DistinctScenes());
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    setup.controller->misbehaviour().loseReplyAt = 500;
    std::vector<int> restarts;
    TransferProgress progress;
    progress.restarted = [&](int restart) { restarts.push_back(restart); };
    ImageBuffer image;
    image.fill(0xEE);
    ASSERT_TRUE(ReadSceneImage(setup.link, 916, image, 1, progress).ok());
    EXPECT_EQ(restarts, std::vector<int>{1});
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 916, setup.controller->image().begin()));

    std::vector<std::uint32_t> expected{CmdReadStart};
    expected.insert(expected.end(), 501, CmdNextByte); // the 501st asks for byte 500, whose reply is lost
    expected.insert(expected.end(), {CmdConnect, CmdIdentify, CmdReadStart});
    expected.insert(expected.end(), 1024, CmdNextByte);
    expected.push_back(CmdEnd);
    EXPECT_EQ(setup.ports.sentWords(), expected) << "no single request is repeated";
    EXPECT_EQ(setup.controller->readsCompleted(), 1);
}

TEST(ReadSceneImage, AReplyThatComesTwiceRestartsTheReadAndAKeyPlayedFailsIt)
{
    for (const bool repeated : {true, false}) {
        OneController setup;
        setup.controller->setScenes(DistinctScenes());
        ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
        (repeated ? setup.controller->misbehaviour().repeatReplyAt : setup.controller->misbehaviour().strayAfterBytes) = 300;
        int restarts = 0;
        TransferProgress progress;
        progress.restarted = [&](int) { ++restarts; };
        ImageBuffer image{};
        const LinkResult result = ReadSceneImage(setup.link, 916, image, 1, progress);
        EXPECT_EQ(result.ok(), repeated);
        EXPECT_EQ(restarts, repeated ? 1 : 0);
        if (repeated)
            EXPECT_TRUE(std::equal(image.begin(), image.begin() + 916, setup.controller->image().begin()));
        else
            EXPECT_EQ(result.error, LinkError::Unasked);
    }
}

TEST(ReadSceneImage, AMessageRightBehindEachReplyFailsTheRead)
{
    ScriptedDevice device;
    device.extraAfterEachByte = true;
    ImageBuffer image{};
    const LinkResult result = ReadSceneImage(device.link, 3, image, 1, {});
    EXPECT_EQ(result.error, LinkError::Unasked);
    EXPECT_EQ(result.word, 0x7F7F9Cu);
    EXPECT_EQ(device.next, 1u);
}

TEST(SceneTransfers, ACancelStopsThemAtOnce)
{
    for (bool sending : {false, true}) {
        SCOPED_TRACE(sending ? "send" : "read");
        OneController setup;
        ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
        setup.ports.clearEvents();
        ImageBuffer image;
        image.fill(0x44);
        TransferProgress progress;
        progress.percent = [&](int percent) {
            if (percent == 30)
                setup.link.cancel();
        };
        const LinkResult result = sending ? SendSceneImage(setup.link, 916, image, progress)
                                          : ReadSceneImage(setup.link, 916, image, 1, progress);
        EXPECT_EQ(result.error, LinkError::Cancelled);
        EXPECT_LT(setup.ports.sentWords().size(), 400u);
        EXPECT_NE(setup.ports.sentWords().back(), CmdEnd);
        EXPECT_EQ(image[0], 0x44);
    }
}

TEST(SendSceneImage, Sends916BytesAsTwoBlocksPaddedWith900000)
{
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    const SceneSet scenes = DistinctScenes();
    ImageBuffer image;
    image.fill(0xAB);
    PackSceneImage(scenes, image.data());
    ProgressLog progress;
    EXPECT_TRUE(SendSceneImage(setup.link, 916, image, progress.hooks()).ok());

    const auto sent = setup.ports.sentWords();
    ASSERT_EQ(sent.size(), 2u + 1024u) << "no CmdEnd from the editor after a send";
    EXPECT_EQ(sent[0], CmdSendStart);
    EXPECT_EQ(sent[1], 0x02009Cu); // 9C 00 02
    for (int p = 0; p < 1024; ++p)
        ASSERT_EQ(sent[std::size_t(2 + p)], p < 916 ? MsgDataByte(image[std::size_t(p)]) : 0x000090u) << p;
    EXPECT_EQ(setup.controller->sendsCompleted(), 1);
    SceneSet expected = scenes;
    for (int s = 1; s <= 4; ++s) // names come back as all 12 bytes
        expected.scene(s).SceneNameLength = 12;
    EXPECT_EQ(setup.controller->scenes(), expected);

    ASSERT_EQ(progress.percents.size(), 1024u);
    EXPECT_EQ(progress.percents[0], 1);
    EXPECT_EQ(progress.percents[511], 50);
    EXPECT_EQ(progress.percents[512], 51);
    EXPECT_EQ(progress.percents[1023], 100);
    EXPECT_EQ(progress.shows, (std::vector<bool>{true, false}));
}

// A lost echo of the start is tried again after a handshake; nothing was written before it.
TEST(SendSceneImage, ALostEchoOfItsStartStartsItAgainAndALostSecondOneToo)
{
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    setup.link.setReplyTimeout(std::chrono::milliseconds(50));
    setup.controller->misbehaviour().loseSendStartEchoes = 2;
    ImageBuffer image;
    PackSceneImage(DistinctScenes(), image.data());
    EXPECT_TRUE(SendSceneImage(setup.link, 916, image).ok());
    const auto sent = setup.ports.sentWords();
    const std::vector<std::uint32_t> starts(sent.begin(), sent.begin() + 10);
    EXPECT_EQ(starts, (std::vector<std::uint32_t>{CmdSendStart, 0x02009C, CmdConnect, CmdIdentify, CmdSendStart,
                                                   0x02009C, CmdConnect, CmdIdentify, CmdSendStart, 0x02009C}));
    EXPECT_EQ(sent.size(), 10u + 1024u);
    EXPECT_EQ(setup.controller->sendsCompleted(), 1);

    // Lost every time: the send gives up after the last restart.
    setup.controller->misbehaviour().loseSendStartEchoes = 1 + kReadRestarts;
    EXPECT_EQ(SendSceneImage(setup.link, 916, image).error, LinkError::NoReply);
    EXPECT_EQ(setup.controller->sendsCompleted(), 1);
}

TEST(SendSceneImage, ByteIsSplitIntoHalves)
{
    EXPECT_EQ(MsgDataByte(0x5A), 0x0A0590u); // 90 05 0A
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    ImageBuffer image{};
    image[0] = 0x5A;
    EXPECT_TRUE(SendSceneImage(setup.link, 1, image, {}).ok());
    EXPECT_EQ(setup.ports.sentWords()[1], 0x01009Cu);
    EXPECT_EQ(setup.ports.sentWords()[2], 0x0A0590u);
    EXPECT_EQ(setup.controller->image()[0], 0x5A);
}

TEST(SendSceneImage, LengthZeroSendsNoBlockAndAwaitsCmdEnd)
{
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    ImageBuffer image{};
    ProgressLog progress;
    EXPECT_TRUE(SendSceneImage(setup.link, 0, image, progress.hooks()).ok());
    EXPECT_EQ(setup.ports.sentWords(), (std::vector<std::uint32_t>{CmdSendStart, 0x00009Cu}));
    EXPECT_EQ(setup.controller->sendsCompleted(), 1);
    EXPECT_TRUE(progress.percents.empty());
}

TEST(SendSceneImage, MarkAt15IsJudgedLikeAnyOther)
{
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    while (setup.link.ring().received() % kRingSize != 15)
        setup.link.ring().store(0x7F3C90);
    ImageBuffer image{};
    EXPECT_TRUE(SendSceneImage(setup.link, 916, image, {}).ok());
    EXPECT_EQ(setup.link.ring().slot(15), CmdSendStart);
    EXPECT_EQ(setup.link.ring().slot(0), BlockAcknowledge);
    EXPECT_EQ(setup.link.ring().slot(1), CmdEnd);
}

TEST(SendSceneImage, WrongRepliesStopTheSendAtOnce)
{
    {
        SCOPED_TRACE("wrong acknowledgement of block 0");
        OneController setup;
        ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
        setup.controller->misbehaviour().wrongAcknowledgeAfterBlock = 0;
        setup.ports.clearEvents();
        ImageBuffer image{};
        ProgressLog progress;
        EXPECT_FALSE(SendSceneImage(setup.link, 916, image, progress.hooks()).ok());
        EXPECT_EQ(setup.ports.sentWords().size(), 2u + 512u) << "nothing is sent after that block";
        EXPECT_EQ(progress.shows.back(), false);
    }
    {
        SCOPED_TRACE("first reply is not the echo");
        OneController setup;
        ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
        setup.controller->misbehaviour().strayBeforeReplies = true;
        setup.ports.clearEvents();
        ImageBuffer image{};
        EXPECT_FALSE(SendSceneImage(setup.link, 916, image, {}).ok());
        EXPECT_EQ(setup.ports.sentWords(), (std::vector<std::uint32_t>{CmdSendStart, 0x02009Cu}));
    }
    {
        SCOPED_TRACE("no CmdEnd after the last block");
        OneController setup;
        ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
        setup.controller->misbehaviour().silentAfterBytes = 1000;
        ImageBuffer image{};
        EXPECT_FALSE(SendSceneImage(setup.link, 916, image, {}).ok());
    }
}

TEST(SendSceneImage, SlowRepliesOnTheBackendsThreadStillArrive)
{
    OneController setup(SimulatedPorts::Delivery::Thread);
    setup.link.setReplyTimeout(kReplyTimeout);
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.controller->misbehaviour().replyDelay = std::chrono::milliseconds(30);
    ImageBuffer image{};
    image[3] = 0x77;
    EXPECT_TRUE(SendSceneImage(setup.link, 916, image, {}).ok());
    setup.ports.drain();
    EXPECT_EQ(setup.controller->image()[3], 0x77);
}

TEST(ReadSceneImage, WholeReadWithRepliesOnTheBackendsThread)
{
    OneController setup(SimulatedPorts::Delivery::Thread);
    setup.link.setReplyTimeout(kReplyTimeout);
    setup.controller->setScenes(DistinctScenes());
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    ImageBuffer image{};
    EXPECT_TRUE(ReadSceneImage(setup.link, 916, image, 1, {}).ok());
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 916, setup.controller->image().begin()));
}

TEST(TransferParameters, SceneDataLenIsClampedInto0To1024)
{
    EXPECT_EQ(TransferLength(DefaultParameters(QByteArray())), 916);
    EXPECT_EQ(TransferLength(DefaultParameters("SceneDataLen=abc\n")), 916);
    EXPECT_EQ(TransferLength(DefaultParameters("scenedatalen= 512 \t\n")), 512);
    EXPECT_EQ(TransferLength(DefaultParameters("SceneDataLen=2000\n")), 1024);
    EXPECT_EQ(TransferLength(DefaultParameters("SceneDataLen=-5\n")), 0);
    EXPECT_EQ(BlockAddOne(DefaultParameters(QByteArray())), 1);
    EXPECT_EQ(BlockAddOne(DefaultParameters("BlockAddOne= 0\n")), 0);

    // The transfers themselves never reach past the buffer, whatever length they are given.
    OneController setup;
    ASSERT_TRUE(setup.link.findDevice(IdentityReply).ok());
    setup.ports.clearEvents();
    ImageBuffer image{};
    EXPECT_TRUE(SendSceneImage(setup.link, 5000, image, {}).ok());
    EXPECT_EQ(setup.ports.sentWords()[1], 0x02009Cu);
}

} // namespace
} // namespace lumo
