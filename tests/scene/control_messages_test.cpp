// Matching a received message to a control: channels with "Global" resolved, list order,
// the current scene before the others, and controls that send nothing.
#include "scene/control_messages.h"
#include "scene/parameter_files.h"

#include <gtest/gtest.h>

using namespace lumo;

namespace {

constexpr int kKonb1 = 5, kKonb2 = 6, kSlider4 = 12, kPad1 = 13, kKey3 = 23;

// Shipped defaults: knobs CC 20..23 and sliders CC 24..27 on "Global" groups, scene channel
// index 0; pads notes 36..43 on channel index 9; keys disabled, CC 48..72 on "Global".
SceneSet defaultScenes()
{
    SceneSet scenes;
    ApplyDefaults(BuiltInParameterFiles().defaults, scenes);
    return scenes;
}

ControlMessage cc(int number, int channel) { return {MidiMessageKind::ControlChange, number, channel}; }
ControlMessage note(int number, int channel) { return {MidiMessageKind::Note, number, channel}; }

} // namespace

TEST(MatchMessage, GlobalChannelsAreTheScenesChannel)
{
    SceneSet scenes = defaultScenes();
    SceneRecord& one = scenes.scene(1);
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), (ControlMatch{1, kKonb1}));

    // Scene 1 now says channel 5 for "Global"; channel 1 is left to the other scenes.
    one.SceneMIDICh = 4;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 4)), (ControlMatch{1, kKonb1}));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), (ControlMatch{2, kKonb1}));

    one.KeyAssignType[2] = 1;
    one.KeyCCNumber[2] = 90;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(90, 4)), (ControlMatch{1, kKey3}));
    one.PianoKeyCh = 7;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(90, 7)), (ControlMatch{1, kKey3}));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(90, 4)), std::nullopt);

    // A pad sends on its own channel, and a note is no CC.
    EXPECT_EQ(MatchMessage(scenes, 1, note(36, 9)), (ControlMatch{1, kPad1}));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(36, 9)), std::nullopt);
    one.PadMIDICh[0] = kGlobalChannel;
    EXPECT_EQ(MatchMessage(scenes, 1, note(36, 4)), (ControlMatch{1, kPad1}));
    one.PadAssignType[0] = 1;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(36, 4)), (ControlMatch{1, kPad1}));
}

TEST(MatchMessage, FirstInListOrderOfTheCurrentSceneElseOfTheFirstOtherScene)
{
    SceneSet scenes = defaultScenes();
    scenes.scene(1).KonbCCNumber[1] = 20;
    scenes.scene(1).SliderCCNumber[3] = 20;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), (ControlMatch{1, kKonb1}));
    scenes.scene(1).KonbEnable[0] = 0;
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), (ControlMatch{1, kKonb2}));

    // CC 99 only in scenes 1 (Slider-4), 3 and 4 (Konb-1).
    scenes.scene(1).SliderCCNumber[3] = 99;
    scenes.scene(3).KonbCCNumber[0] = 99;
    scenes.scene(4).KonbCCNumber[0] = 99;
    EXPECT_EQ(MatchMessage(scenes, 4, cc(99, 0)), (ControlMatch{4, kKonb1}));
    EXPECT_EQ(MatchMessage(scenes, 2, cc(99, 0)), (ControlMatch{1, kSlider4}));
    scenes.scene(1).SliderCCNumber[3] = 27;
    EXPECT_EQ(MatchMessage(scenes, 2, cc(99, 0)), (ControlMatch{3, kKonb1}));
}

TEST(MatchMessage, ControlsThatSendNothingOrWhatMidiCannotCarryNeverMatch)
{
    SceneSet scenes = defaultScenes();
    for (int n = 1; n <= kSceneCount; ++n) {
        SceneRecord& r = scenes.scene(n);
        r.KonbEnable[0] = 0;
        r.SliderEnable[0] = 0;
        r.PadAssignType[0] = 0; // "No Assign"
        r.PadAssignType[1] = 3; // no item of the list
        r.KonbCCNumber[1] = 21 + 128;
    }
    EXPECT_EQ(MatchMessage(scenes, 1, cc(20, 0)), std::nullopt);
    EXPECT_EQ(MatchMessage(scenes, 1, cc(24, 0)), std::nullopt);
    EXPECT_EQ(MatchMessage(scenes, 1, note(36, 9)), std::nullopt);
    EXPECT_EQ(MatchMessage(scenes, 1, note(37, 9)), std::nullopt);
    EXPECT_EQ(MatchMessage(scenes, 1, cc(21, 0)), std::nullopt);
    EXPECT_EQ(MatchMessage(scenes, 1, cc(50, 0)), std::nullopt); // Key-3, disabled by default
    EXPECT_EQ(MessageOfControl(scenes.scene(1), 1), std::nullopt); // a group sends nothing

    // "Global" on a scene channel that is no channel resolves to nothing a message carries.
    scenes.scene(1).SceneMIDICh = kGlobalChannel;
    EXPECT_EQ(MessageOfControl(scenes.scene(1), 7), cc(22, kGlobalChannel));
    EXPECT_EQ(MatchMessage(scenes, 1, cc(22, 0)), (ControlMatch{2, 7}));
}

TEST(IncomingMessage, ControlChangeAndNoteOnWithVelocityOnly)
{
    EXPECT_EQ(IncomingMessage(0xB3, 20, 0), cc(20, 3));
    EXPECT_EQ(IncomingMessage(0x9F, 36, 100), note(36, 15));
    EXPECT_EQ(IncomingMessage(0x90, 36, 0), std::nullopt); // a release
    EXPECT_EQ(IncomingMessage(0x80, 36, 64), std::nullopt);
    EXPECT_EQ(IncomingMessage(0xE0, 0, 64), std::nullopt);
    EXPECT_EQ(IncomingMessage(0xC0, 20, 0), std::nullopt);
}
