#include "scene/copy_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumo;

namespace {

SceneRecord numberedRecord(int seed)
{
    SceneRecord r;
    std::memset(&r, 0, sizeof r);
    auto* words = reinterpret_cast<std::int32_t*>(reinterpret_cast<std::uint8_t*>(&r) + 16);
    for (int i = 0; i < (884 - 16) / 4; ++i)
        words[i] = seed * 1000 + i;
    return r;
}

} // namespace

TEST(CopyBuffer, NothingCopiedPastesNothingOnAnyControl)
{
    CopyBuffer buffer;
    SceneRecord target = numberedRecord(1);
    const SceneRecord before = target;
    for (int index = 1; index < kControlCount; ++index)
        EXPECT_FALSE(buffer.paste(target, index)) << index;
    EXPECT_EQ(0, std::memcmp(&before, &target, sizeof target));
    // With "Common" selected the kinds agree (both 0): only a redisplay, no data.
    EXPECT_TRUE(buffer.paste(target, 0));
    EXPECT_EQ(0, std::memcmp(&before, &target, sizeof target));
}

TEST(CopyBuffer, KnobDoesNotPasteOntoSlider)
{
    CopyBuffer buffer;
    SceneRecord scene = numberedRecord(1);
    buffer.copy(scene, 6); // Konb-2
    const SceneRecord before = scene;
    EXPECT_FALSE(buffer.paste(scene, 10)); // Slider-2
    EXPECT_EQ(0, std::memcmp(&before, &scene, sizeof scene));
}

TEST(CopyBuffer, PadCopiesAllSixSettingsAcrossScenes)
{
    CopyBuffer buffer;
    SceneRecord scene1 = numberedRecord(1);
    SceneRecord scene3 = numberedRecord(3);
    buffer.copy(scene1, 13); // Trigger Pad-1
    EXPECT_EQ(ControlKind::Pad, buffer.copiedKind());
    EXPECT_EQ(1, buffer.copiedPosition());
    SceneRecord expected = scene3;
    ASSERT_TRUE(buffer.paste(scene3, 18)); // Trigger Pad-6
    expected.PadAssignType[5] = scene1.PadAssignType[0];
    expected.PadCCNumber[5] = scene1.PadCCNumber[0];
    expected.PadONValue[5] = scene1.PadONValue[0];
    expected.PadOFFValue[5] = scene1.PadOFFValue[0];
    expected.PadBehavior[5] = scene1.PadBehavior[0];
    expected.PadMIDICh[5] = scene1.PadMIDICh[0];
    EXPECT_EQ(0, std::memcmp(&expected, &scene3, sizeof scene3));
}

TEST(CopyBuffer, PasteGivesTheValuesOfTheMomentOfCopy)
{
    CopyBuffer buffer;
    SceneRecord scene = numberedRecord(2);
    buffer.copy(scene, 21 + 6); // Key-7
    const SceneRecord original = scene;
    scene.KeyCCNumber[6] = 99;
    scene.KeyBehavior[6] = 1;
    ASSERT_TRUE(buffer.paste(scene, 27));
    EXPECT_EQ(0, std::memcmp(&original, &scene, sizeof scene));
}

TEST(CopyBuffer, CopyingCommonDisablesPasteAndKeepsOtherAreas)
{
    CopyBuffer buffer;
    SceneRecord scene = numberedRecord(4);
    buffer.copy(scene, 2); // Group Common-2
    buffer.copy(scene, 0); // Common
    EXPECT_EQ(ControlKind::Common, buffer.copiedKind());
    EXPECT_FALSE(buffer.paste(scene, 3));
    // A later group copy/paste still works from its own area.
    buffer.copy(scene, 9);  // Slider-1 replaces the copied kind
    scene.MIDICh[0] = -5;
    EXPECT_FALSE(buffer.paste(scene, 1));
    EXPECT_EQ(-5, scene.MIDICh[0]);
}
