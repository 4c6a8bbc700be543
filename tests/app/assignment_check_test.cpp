// The assignment check: the shipped defaults are clean; controls conflict only when enabled
// and of one kind, number and resolved channel; values MIDI cannot carry are named once.
#include "app/assignment_check.h"
#include "scene/parameter_files.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

SceneSet defaultScenes()
{
    SceneSet scenes;
    ApplyDefaults(BuiltInParameterFiles().defaults, scenes);
    return scenes;
}

TEST(AssignmentCheck, ShippedDefaultsAreClean)
{
    EXPECT_EQ(CheckAssignments(defaultScenes()), QStringList());
}

TEST(AssignmentCheck, EnabledControlsOnOneMessageConflict)
{
    SceneSet scenes = defaultScenes();
    SceneRecord& r = scenes.scene(3);
    r.KonbCCNumber[1] = r.SliderCCNumber[2] = r.SliderCCNumber[3] = 20;
    r.SliderEnable[3] = 0;
    r.KonbCCNumber[3] = 20;
    r.MIDICh[3] = 4; // another channel
    // A CC pad on "Global" and an enabled key on channel index 0.
    r.PadAssignType[0] = 1;
    r.PadCCNumber[0] = 60;
    r.PadMIDICh[0] = 16;
    r.PianoKeyCh = 0;
    r.KeyAssignType[4] = 1;
    r.KeyCCNumber[4] = 60;
    // CC 37 is not pad 2's note 37.
    r.KeyAssignType[5] = 1;
    r.KeyCCNumber[5] = 37;
    scenes.scene(1).PadCCNumber[7] = 36;

    EXPECT_EQ(CheckAssignments(scenes), QStringList({
                                            "scene 1: Trigger Pad-1 and Trigger Pad-8 both send note 36 on channel 10",
                                            "scene 3: Konb-1 and Konb-2 both send CC 20 on channel 1",
                                            "scene 3: Konb-1 and Slider-3 both send CC 20 on channel 1",
                                            "scene 3: Trigger Pad-1 and Key-5 both send CC 60 on channel 1",
                                        }));
    EXPECT_EQ(ConflictingControls(r), (std::vector<int>{5, 6, 11, 13, 25}));
}

TEST(AssignmentCheck, ValuesMidiCannotCarryAreNamedOnce)
{
    SceneSet scenes = defaultScenes();
    SceneRecord& r = scenes.scene(2);
    r.SceneMIDICh = 16;        // the "Global" groups' knobs and sliders: no conflict on it
    r.MIDICh[1] = 20;          // Konb-2 and Slider-2: one finding
    r.KonbCCNumber[0] = r.SliderCCNumber[0] = 200;
    r.PadCCNumber[7] = -1;
    r.PadMIDICh[2] = -3;
    r.PianoKeyCh = 17;
    r.KeyAssignType[0] = r.KeyAssignType[1] = 1;
    r.KonbEnable[3] = 0;       // disabled: its number never goes out
    r.KonbCCNumber[3] = 300;

    EXPECT_EQ(CheckAssignments(scenes), QStringList({
                                            "scene 2: Global MIDI Ch holds channel index 16, outside 1-16",
                                            "scene 2: Konb-1 sends CC 200, outside 0-127",
                                            "scene 2: Group Common-2 holds channel index 20, outside 1-16 and Global",
                                            "scene 2: Slider-1 sends CC 200, outside 0-127",
                                            "scene 2: Trigger Pad-3 holds channel index -3, outside 1-16 and Global",
                                            "scene 2: Trigger Pad-8 sends note -1, outside 0-127",
                                            "scene 2: Piano Key CC# Ch holds channel index 17, outside 1-16 and Global",
                                        }));
    EXPECT_TRUE(ConflictingControls(r).empty());
}

} // namespace
} // namespace lumo
