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
        return {[this](bool visible) { shows.push_back(visible); }, [this](int p) { percents.push_back(p); }};
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
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.ports.clearEvents();
    ImageBuffer image;
    image.fill(0xEE);
    ProgressLog progress;
    EXPECT_EQ(ReadSceneImage(setup.link, 916, image, 1, progress.hooks()), 0);

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
        EXPECT_EQ(link.FindDevice(IdentityReply), 0);
        ports.clearEvents();
    }
};

TEST(ReadSceneImage, UsesOnlyTheLow4BitsOfEachDataByte)
{
    ScriptedDevice device;
    device.byteReplies = {0x0A0590, 0x7A3590, 0x0F0F00}; // 05 0A, 35 7A, and a status never looked at
    ImageBuffer image{};
    EXPECT_EQ(ReadSceneImage(device.link, 3, image, 1, {}), 0);
    EXPECT_EQ(image[0], 0x5A);
    EXPECT_EQ(image[1], 0x5A);
    EXPECT_EQ(image[2], 0xFF);
}

TEST(ReadSceneImage, ResetsTheWriteIndexSoEachByteIsTakenFromSlot0)
{
    ScriptedDevice device;
    device.extraAfterEachByte = true;
    device.byteReplies = {0x010290, 0x030490, 0x050690};
    for (int i = 0; i < 9; ++i) // the handshake's mark lands mid-ring
        device.link.ring().OnMidiInput(MidiInputKind::Data, 0x7F3C90);
    ImageBuffer image{};
    EXPECT_EQ(ReadSceneImage(device.link, 3, image, 1, {}), 0);
    EXPECT_EQ(image[0], 0x21);
    EXPECT_EQ(image[1], 0x43);
    EXPECT_EQ(image[2], 0x65);
    EXPECT_EQ(device.next, 512u);
}

TEST(ReadSceneImage, ACountGivingNoBlocksRequestsNothing)
{
    for (int blockAddOne : {0, -1}) {
        ScriptedDevice device; // count reply m = 0
        ImageBuffer image;
        image.fill(0x11);
        ProgressLog progress;
        EXPECT_EQ(ReadSceneImage(device.link, 916, image, blockAddOne, progress.hooks()), 0);
        EXPECT_EQ(device.ports.sentWords(), (std::vector<std::uint32_t>{CmdReadStart, CmdEnd}));
        EXPECT_EQ(image[0], 0x11);
        EXPECT_TRUE(progress.percents.empty());
    }
}

TEST(ReadSceneImage, FailuresStopAtOnceWithoutCmdEnd)
{
    {
        SCOPED_TRACE("first reply is not the echo");
        OneController setup;
        ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
        setup.controller->misbehaviour().strayBeforeReplies = true;
        setup.ports.clearEvents();
        ImageBuffer image{};
        ProgressLog progress;
        EXPECT_EQ(ReadSceneImage(setup.link, 916, image, 1, progress.hooks()), 1);
        EXPECT_EQ(setup.ports.sentWords(), (std::vector<std::uint32_t>{CmdReadStart}));
        EXPECT_EQ(progress.shows, (std::vector<bool>{false}));
        // The controller is left mid-read; the next search starts over.
        EXPECT_EQ(setup.link.FindDevice(IdentityReply), 1) << "the stray message spoils the handshake too";
    }
    {
        SCOPED_TRACE("silence after 100 bytes");
        OneController setup;
        ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
        setup.controller->misbehaviour().silentAfterBytes = 100;
        setup.ports.clearEvents();
        ImageBuffer image{};
        ProgressLog progress;
        EXPECT_EQ(ReadSceneImage(setup.link, 916, image, 1, progress.hooks()), 1);
        const auto sent = setup.ports.sentWords();
        EXPECT_EQ(sent.size(), 1u + 101u);
        EXPECT_EQ(sent.back(), CmdNextByte);
        EXPECT_EQ(progress.percents.size(), 100u);
        EXPECT_EQ(progress.shows.back(), false);
        // A new search brings the controller back.
        EXPECT_EQ(setup.link.FindDevice(IdentityReply), 0);
    }
    {
        SCOPED_TRACE("a request that cannot be sent");
        OneController setup;
        ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
        setup.ports.clearEvents();
        setup.ports.failSendAfter(11);
        ImageBuffer image{};
        EXPECT_EQ(ReadSceneImage(setup.link, 916, image, 1, {}), 1);
        EXPECT_EQ(setup.ports.sentWords().size(), 11u);
        EXPECT_EQ(setup.ports.sentWords().back(), CmdNextByte);
    }
}

TEST(SendSceneImage, Sends916BytesAsTwoBlocksPaddedWith900000)
{
    OneController setup;
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.ports.clearEvents();
    const SceneSet scenes = DistinctScenes();
    ImageBuffer image;
    image.fill(0xAB);
    PackSceneImage(scenes, image.data());
    ProgressLog progress;
    EXPECT_EQ(SendSceneImage(setup.link, 916, image, progress.hooks()), 0);

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

TEST(SendSceneImage, ByteIsSplitIntoHalves)
{
    EXPECT_EQ(MsgDataByte(0x5A), 0x0A0590u); // 90 05 0A
    OneController setup;
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.ports.clearEvents();
    ImageBuffer image{};
    image[0] = 0x5A;
    EXPECT_EQ(SendSceneImage(setup.link, 1, image, {}), 0);
    EXPECT_EQ(setup.ports.sentWords()[1], 0x01009Cu);
    EXPECT_EQ(setup.ports.sentWords()[2], 0x0A0590u);
    EXPECT_EQ(setup.controller->image()[0], 0x5A);
}

TEST(SendSceneImage, LengthZeroSendsNoBlockAndAwaitsCmdEnd)
{
    OneController setup;
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.ports.clearEvents();
    ImageBuffer image{};
    ProgressLog progress;
    EXPECT_EQ(SendSceneImage(setup.link, 0, image, progress.hooks()), 0);
    EXPECT_EQ(setup.ports.sentWords(), (std::vector<std::uint32_t>{CmdSendStart, 0x00009Cu}));
    EXPECT_EQ(setup.controller->sendsCompleted(), 1);
    EXPECT_TRUE(progress.percents.empty());
}

TEST(SendSceneImage, MarkAt15IsJudgedLikeAnyOther)
{
    OneController setup;
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    while (setup.link.ring().writeIndex() != 15)
        setup.link.ring().OnMidiInput(MidiInputKind::Data, 0x7F3C90);
    ImageBuffer image{};
    EXPECT_EQ(SendSceneImage(setup.link, 916, image, {}), 0);
    EXPECT_EQ(setup.link.ring().slot(15), CmdSendStart);
    EXPECT_EQ(setup.link.ring().slot(0), BlockAcknowledge);
    EXPECT_EQ(setup.link.ring().slot(1), CmdEnd);
}

TEST(SendSceneImage, WrongRepliesStopTheSendAtOnce)
{
    {
        SCOPED_TRACE("wrong acknowledgement of block 0");
        OneController setup;
        ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
        setup.controller->misbehaviour().wrongAcknowledgeAfterBlock = 0;
        setup.ports.clearEvents();
        ImageBuffer image{};
        ProgressLog progress;
        EXPECT_EQ(SendSceneImage(setup.link, 916, image, progress.hooks()), 1);
        EXPECT_EQ(setup.ports.sentWords().size(), 2u + 512u) << "nothing is sent after that block";
        EXPECT_EQ(progress.shows.back(), false);
    }
    {
        SCOPED_TRACE("first reply is not the echo");
        OneController setup;
        ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
        setup.controller->misbehaviour().strayBeforeReplies = true;
        setup.ports.clearEvents();
        ImageBuffer image{};
        EXPECT_EQ(SendSceneImage(setup.link, 916, image, {}), 1);
        EXPECT_EQ(setup.ports.sentWords(), (std::vector<std::uint32_t>{CmdSendStart, 0x02009Cu}));
    }
    {
        SCOPED_TRACE("no CmdEnd after the last block");
        OneController setup;
        ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
        setup.controller->misbehaviour().silentAfterBytes = 1000;
        ImageBuffer image{};
        EXPECT_EQ(SendSceneImage(setup.link, 916, image, {}), 1);
    }
}

TEST(SendSceneImage, SlowRepliesOnTheBackendsThreadStillArrive)
{
    OneController setup(SimulatedPorts::Delivery::Thread);
    setup.link.setReplyTimeout(kReplyTimeout);
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.controller->misbehaviour().replyDelay = std::chrono::milliseconds(30);
    ImageBuffer image{};
    image[3] = 0x77;
    EXPECT_EQ(SendSceneImage(setup.link, 916, image, {}), 0);
    setup.ports.drain();
    EXPECT_EQ(setup.controller->image()[3], 0x77);
}

TEST(ReadSceneImage, WholeReadWithRepliesOnTheBackendsThread)
{
    OneController setup(SimulatedPorts::Delivery::Thread);
    setup.link.setReplyTimeout(kReplyTimeout);
    setup.controller->setScenes(DistinctScenes());
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    ImageBuffer image{};
    EXPECT_EQ(ReadSceneImage(setup.link, 916, image, 1, {}), 0);
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
    ASSERT_EQ(setup.link.FindDevice(IdentityReply), 0);
    setup.ports.clearEvents();
    ImageBuffer image{};
    EXPECT_EQ(SendSceneImage(setup.link, 5000, image, {}), 0);
    EXPECT_EQ(setup.ports.sentWords()[1], 0x02009Cu);
}

} // namespace
} // namespace lumo
