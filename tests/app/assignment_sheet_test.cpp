// The sheet's lines: what each sending control sends, in list order, by the same messages as
// the assignment check.
#include "app/assignment_sheet.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

TEST(AssignmentSheet, LinesOfTheSendingControlsInListOrder)
{
    const ParameterFiles files = BuiltInParameterFiles();
    SceneSet scenes;
    ApplyDefaults(files.defaults, scenes);
    SceneRecord& r = scenes.scene(1);
    r.KonbEnable[1] = 0;   // Konb-2 sends nothing
    r.SliderLLValue[0] = 5;
    r.PadAssignType[1] = 1; // Trigger Pad-2 sends a CC, toggled
    r.PadCCNumber[1] = 70;
    r.PadBehavior[1] = 1;
    r.KeyAssignType[24] = 1; // Key-25 on the piano-key channel, "Global" resolved
    r.PianoKeyCh = 16;
    r.SceneMIDICh = 2;
    r.PadMIDICh[7] = 20;   // stored outside the channel list

    const QStringList lines = AssignmentSheetLines(r, files.notes);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("Konb-1 \u2014 CC 20 on channel 3, 0\u2013127")) << lines.first().toStdString();
    EXPECT_FALSE(lines.join('\n').contains(QStringLiteral("Konb-2")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Slider-1 \u2014 CC 24 on channel 3, 5\u2013127")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Trigger Pad-1 \u2014 note 36 (C2) on channel 10, momentary")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Trigger Pad-2 \u2014 CC 70 on channel 10, 0\u2013127, toggle")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Trigger Pad-8 \u2014 note 43 (G2) on channel index 20, momentary")));
    EXPECT_EQ(lines.last(), QStringLiteral("Key-25 \u2014 CC 72 on channel 3, 0\u2013127, momentary")) << lines.last().toStdString();
    EXPECT_EQ(lines.size(), 3 + 4 + 8 + 1);
}

} // namespace
} // namespace lumo
