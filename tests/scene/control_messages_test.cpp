// Matching a received message to a control: "Global" resolved, list order, the current scene
// before the others, and controls that send nothing.
#include "scene/control_messages.h"
#include "scene/parameter_files.h"

#include <gtest/gtest.h>

using namespace lumo;

namespace {

// Knobs CC 20..23, sliders 24..27 on "Global" groups, scene channel index 0; pads notes
// 36..43 on channel index 9; keys disabled, CC 48..72 on a "Global" piano-key channel.
SceneSet defaultScenes()
{
    SceneSet scenes;
    ApplyDefaults(BuiltInParameterFiles().defaults, scenes);
    return scenes;
}

ControlMessage cc(int number, int channel) { return {MidiMessageKind::ControlChange, number, channel}; }
ControlMessage note(int number, int channel) { return {MidiMessageKind::Note, number, channel}; }
std::optional<ControlMatch> at(int scene, int controlIndex) { return ControlMatch{scene, controlIndex}; }

} // namespace

TEST(MatchMessage, GlobalIsTheScenesChannelAndKindsDiffer)
{
    SceneSet scenes = defaultScenes();
    SceneRecord& one = scenes.scene(1);
    one.SceneMIDICh = 4;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 4)), at(1, 5));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), at(2, 5)); // scene 2 keeps channel 1
    one.KeyAssignType[2] = 1;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(50, 4)), at(1, 23));
    one.PianoKeyCh = 7;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(50, 7)), at(1, 23));

    EXPECT_EQ(MatchMessage(scenes, 1, note(36, 9)), at(1, 13));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(36, 9)), std::nullopt);
    one.PadAssignType[0] = 1;
    one.PadMIDICh[0] = kGlobalChannel;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(36, 4)), at(1, 13));
}

TEST(MatchMessage, FirstInListOrderOfTheCurrentSceneElseOfTheFirstOtherScene)
{
    SceneSet scenes = defaultScenes();
    scenes.scene(1).SliderCCNumber[3] = 20;
    scenes.scene(1).KonbCCNumber[1] = 20;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), at(1, 5));
    scenes.scene(1).KonbEnable[0] = 0;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), at(1, 6));

    scenes.scene(1).SliderCCNumber[3] = 99;
    scenes.scene(3).KonbCCNumber[0] = 99;
    scenes.scene(4).KonbCCNumber[0] = 99;
    EXPECT_EQ(MatchMessage(scenes, 4, cc(99, 0)), at(4, 5));
    EXPECT_EQ(MatchMessage(scenes, 2, cc(99, 0)), at(1, 12));
    scenes.scene(1).SliderCCNumber[3] = 27;
    EXPECT_EQ(MatchMessage(scenes, 2, cc(99, 0)), at(3, 5));
}

TEST(MatchMessage, ControlsThatSendNothingOrWhatMidiCannotCarryNeverMatch)
{
    SceneSet scenes = defaultScenes();
    for (int n = 1; n <= kSceneCount; ++n) {
        SceneRecord& r = scenes.scene(n);
        r.KonbEnable[0] = r.SliderEnable[0] = 0;
        r.PadAssignType[0] = 0; // "No Assign"
        r.PadAssignType[1] = 3; // no item of its list
        r.KonbCCNumber[1] = 21 + 128;
    }
    for (const ControlMessage& m : {cc(20, 0), cc(24, 0), note(36, 9), note(37, 9), cc(21, 0), cc(50, 0)})
        EXPECT_EQ(MatchMessage(scenes, 1, m), std::nullopt) << m.number;

    // "Global" on a scene channel that is no channel.
    scenes.scene(1).SceneMIDICh = kGlobalChannel;
    EXPECT_EQ(MessageOfControl(scenes.scene(1), 7), cc(22, kGlobalChannel));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(22, 0)), at(2, 7));
}

TEST(IncomingMessage, ControlChangeAndNoteOnWithVelocityOnly)
{
    EXPECT_EQ(IncomingMessage(0xB3, 20, 0), cc(20, 3));
    EXPECT_EQ(IncomingMessage(0x9F, 36, 100), note(36, 15));
    for (std::uint8_t status : {0x90, 0x80, 0xE0, 0xC0}) // a Note On of velocity 0 is a release
        EXPECT_EQ(IncomingMessage(status, 36, 0), std::nullopt) << int(status);
}
