// Overlay texts for every display mode and control kind, the pad CC/Note field rules and the
// Common panel conversions.
#include "scene/display_texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using namespace lumo;

namespace {

const QChar kCr(13);

// 128 note names "N0" .. "N127", except that line 60 reads "c3" (lower case) and
// line 61 reads "C3", so a case-blind lookup must take the first.
NoteNames testNotes(int lines = 128)
{
    QByteArray text;
    for (int n = 0; n < lines; ++n) {
        if (n == 60) text += "c3";
        else if (n == 61) text += "C3";
        else text += "N" + QByteArray::number(n);
        text += "\r\n";
    }
    return NoteNames(text);
}

SceneRecord blankRecord()
{
    SceneRecord r;
    std::memset(&r, 0, sizeof r);
    return r;
}

QString text(const SceneRecord& r, int controlIndex, int mode, const NoteNames& notes)
{
    return OverlayText(r, controlIndex, mode, notes).value_or(QStringLiteral("<kept>"));
}

QString lines(const char* first, const QString& second)
{
    return QString::fromLatin1(first) + kCr + second;
}

} // namespace

TEST(ChoiceLists, ItemsAndPositions)
{
    EXPECT_EQ(ChannelItems().size(), 17);
    EXPECT_EQ(ChannelItems().at(0), "1");
    EXPECT_EQ(ChannelItems().at(15), "16");
    EXPECT_EQ(ChannelItems().at(16), "Global");
    EXPECT_EQ(SceneChannelItems().size(), 16);
    EXPECT_EQ(PadAssignItems(), (QStringList{"No Assign", "Control Change", "Note"}));
    EXPECT_EQ(VelocityCurveItems().at(kConstCurve), "Const");
    EXPECT_EQ(DisplayModeItems().size(), kDisplayModeCount);
    EXPECT_EQ(DisplayModeItems().at(2), "CC/Note Number");
    EXPECT_EQ(DisplayModeItems().at(7), "On Value");

    const QStringList& list = ControlListItems();
    ASSERT_EQ(list.size(), 46);
    EXPECT_EQ(list.at(0), "Common");
    EXPECT_EQ(list.at(1), "Group Common-1");
    EXPECT_EQ(list.at(5), "Konb-1");
    EXPECT_EQ(list.at(12), "Slider-4");
    EXPECT_EQ(list.at(13), "Trigger Pad-1");
    EXPECT_EQ(list.at(20), "Trigger Pad-8");
    EXPECT_EQ(list.at(21), "Key-1");
    EXPECT_EQ(list.at(45), "Key-25");

    EXPECT_EQ(ItemText(ChannelItems(), -1), "---");
    EXPECT_EQ(ItemText(ChannelItems(), 17), "---");
    EXPECT_EQ(ItemText(ChannelItems(), INT_MAX), "---");
}

TEST(OverlayTexts, GroupsShowTheirChannelInEveryMode)
{
    const NoteNames notes = testNotes();
    SceneRecord r = blankRecord();
    r.MIDICh[0] = 0;
    r.MIDICh[1] = 15;
    r.MIDICh[2] = 16;
    r.MIDICh[3] = 99;
    for (int mode = -1; mode <= 8; ++mode) {
        EXPECT_EQ(text(r, 1, mode, notes), "1") << mode;
        EXPECT_EQ(text(r, 2, mode, notes), "16") << mode;
        EXPECT_EQ(text(r, 3, mode, notes), "Global") << mode;
        EXPECT_EQ(text(r, 4, mode, notes), "---") << mode;
    }
}

TEST(OverlayTexts, ModeWithoutItemKeepsAllButGroupLabels)
{
    const NoteNames notes = testNotes();
    const SceneRecord r = blankRecord();
    for (int mode : {-1, 8}) {
        const auto texts = OverlayTexts(r, mode, notes);
        for (int k = 0; k < kOverlayLabelCount; ++k)
            EXPECT_EQ(texts[k].has_value(), k < 4) << "label " << k + 31 << " mode " << mode;
    }
}

TEST(OverlayTexts, KnobsAndSlidersByMode)
{
    const NoteNames notes = testNotes();
    SceneRecord r = blankRecord();
    r.KonbEnable[0] = 1;
    r.KonbCCNumber[0] = 20;
    r.KonbURValue[0] = 120;
    r.KonbLLValue[0] = 3;
    r.KonbEnable[1] = 0; // disabled: "---" in every mode
    r.KonbCCNumber[1] = 21;
    r.SliderEnable[2] = 1;
    r.SliderCCNumber[2] = 26;
    r.SliderURValue[2] = 100;
    r.SliderLLValue[2] = 7;
    r.KonbEnable[3] = 5; // on, but no item in the enable list
    r.KonbCCNumber[3] = 23;

    const QString expectedKnob1[] = {"---", "Enable", lines("CC#", "20"), lines("L/L", "3"), lines("U/R", "120"),
                                     "---", "---", "---"};
    const QString expectedSlider3[] = {"---", "Enable", lines("CC#", "26"), lines("L/L", "7"), lines("U/R", "100"),
                                       "---", "---", "---"};
    for (int mode = 0; mode < kDisplayModeCount; ++mode) {
        EXPECT_EQ(text(r, 5, mode, notes), expectedKnob1[mode]) << mode;
        EXPECT_EQ(text(r, 6, mode, notes), "---") << mode;
        EXPECT_EQ(text(r, 11, mode, notes), expectedSlider3[mode]) << mode;
        EXPECT_EQ(text(r, 9, mode, notes), "---") << mode; // slider 1 disabled
    }
    // Knob text uses the knob arrays, slider text the slider arrays.
    EXPECT_EQ(text(r, 7, 2, notes), "---");
    EXPECT_EQ(text(r, 8, 1, notes), "---");
    EXPECT_EQ(text(r, 8, 2, notes), lines("CC#", "23"));
}

TEST(OverlayTexts, PadsOfEveryAssignmentByMode)
{
    const NoteNames notes = testNotes();
    SceneRecord r = blankRecord();
    for (int e = 0; e < kPadCount; ++e) {
        r.PadCCNumber[e] = 40 + e;
        r.PadONValue[e] = 100 + e;
        r.PadOFFValue[e] = e;
        r.PadMIDICh[e] = 9;
    }
    r.PadAssignType[0] = 0;
    r.PadAssignType[1] = 1;
    r.PadAssignType[2] = 2;
    r.PadCCNumber[2] = 60;
    r.PadBehavior[2] = 1;
    r.PadAssignType[3] = 7;  // no item
    r.PadAssignType[4] = 2;
    r.PadCCNumber[4] = 500;  // no line in the note list
    r.PadMIDICh[4] = 16;
    r.PadAssignType[5] = 1;
    r.PadBehavior[5] = 9;    // no item
    r.PadMIDICh[5] = -3;     // no item

    // Pad 1, "No Assign"
    const QString pad1[] = {"10", "No Assign", "---", "---", "---", "---", "---", "---"};
    // Pad 2, "Control Change"
    const QString pad2[] = {"10", "Control Change", lines("CC#", "41"), "---", "---", "Moment", lines("OFF", "1"),
                            lines("ON", "101")};
    // Pad 3, "Note" 60: note name shown unchanged; OFF/ON not shown for notes
    const QString pad3[] = {"10", "Note", lines("Note", "c3"), "---", "---", "Toggle", "---", "---"};
    for (int mode = 0; mode < kDisplayModeCount; ++mode) {
        EXPECT_EQ(text(r, 13, mode, notes), pad1[mode]) << mode;
        EXPECT_EQ(text(r, 14, mode, notes), pad2[mode]) << mode;
        EXPECT_EQ(text(r, 15, mode, notes), pad3[mode]) << mode;
    }
    EXPECT_EQ(text(r, 16, 1, notes), "---");
    EXPECT_EQ(text(r, 16, 2, notes), "---");
    EXPECT_EQ(text(r, 16, 5, notes), "Moment"); // any type but 0 shows its behaviour
    EXPECT_EQ(text(r, 16, 7, notes), "---");
    EXPECT_EQ(text(r, 17, 0, notes), "Global");
    EXPECT_EQ(text(r, 17, 2, notes), "---");
    EXPECT_EQ(text(r, 18, 0, notes), "---");
    EXPECT_EQ(text(r, 18, 5, notes), "---");
    EXPECT_EQ(text(r, 18, 7, notes), lines("ON", "105"));
}

TEST(OverlayTexts, KeysOnAndOffByMode)
{
    const NoteNames notes = testNotes();
    SceneRecord r = blankRecord();
    r.KeyAssignType[0] = 1;
    r.KeyCCNumber[0] = 48;
    r.KeyONValue[0] = 127;
    r.KeyOFFValue[0] = 5;
    r.KeyBehavior[0] = 1;
    r.KeyAssignType[1] = 0;
    r.KeyCCNumber[1] = 49;
    r.KeyAssignType[24] = -1; // not 0 counts as on
    r.KeyCCNumber[24] = 72;
    r.KeyBehavior[24] = 2;

    const QString key1[] = {"---", "CC", lines("CC#", "48"), "---", "---", "Togg", lines("OFF", "5"), lines("ON", "127")};
    for (int mode = 0; mode < kDisplayModeCount; ++mode) {
        EXPECT_EQ(text(r, 21, mode, notes), key1[mode]) << mode;
        EXPECT_EQ(text(r, 22, mode, notes), "---") << mode;
    }
    EXPECT_EQ(text(r, 45, 2, notes), lines("CC#", "72"));
    EXPECT_EQ(text(r, 45, 5, notes), "---");
    r.KeyBehavior[24] = 0;
    EXPECT_EQ(text(r, 45, 5, notes), "Mome");
}

TEST(SceneCaption, StoredNameUpToTwelveCharacters)
{
    SceneRecord r = blankRecord();
    SetSceneName(r, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(SceneCaption(r), "ABCDEFGHIJKL");
    SetSceneName(r, "");
    EXPECT_EQ(SceneCaption(r), "");
    r.SceneNameLength = 200; // damaged length: still at most 12 characters
    EXPECT_LE(SceneCaption(r).size(), 12);
    SetSceneName(r, std::string_view("SECOND\0\0X\0\0\0", 12)); // as read from the controller
    EXPECT_EQ(SceneCaption(r), "SECOND");
    SetShownSceneName(r, "SECOND"); // the visible name keeps the padding
    EXPECT_EQ(r.SceneNameLength, 12);
    SetShownSceneName(r, "SECONDS");
    EXPECT_EQ(SceneName(r), "SECONDS");
    EXPECT_EQ(r.SceneNameChars[8], 'X'); // stale bytes beyond the new length stay
}

TEST(WholeNumbers, StrictDecimalReading)
{
    EXPECT_EQ(ParseWholeNumber("64"), 64);
    EXPECT_EQ(ParseWholeNumber("+7"), 7);
    EXPECT_EQ(ParseWholeNumber("-12"), -12);
    EXPECT_EQ(ParseWholeNumber("007"), 7);
    EXPECT_EQ(ParseWholeNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ParseWholeNumber("-2147483648"), INT_MIN);
    for (const char* bad : {"", "-", "+", "2147483648", "99999999999999999999", " 5", "5 ", "1-", "0x10", "--1"})
        EXPECT_FALSE(ParseWholeNumber(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(ParseTrimmedNumber(" \t 12\r\n"), 12);
    EXPECT_EQ(ClampInt(200, 0, 127), 127);
    EXPECT_EQ(ClampInt(-5, 0, 127), 0);
    EXPECT_EQ(ClampInt(std::int64_t{INT_MAX} + 10, 0, 127), 127);
}

TEST(PadNumberField, DisplayOfStoredNumber)
{
    const NoteNames notes = testNotes();
    EXPECT_EQ(PadNumberDisplay(36, 1, notes), "36");
    EXPECT_EQ(PadNumberDisplay(200, 1, notes), "200");
    EXPECT_EQ(PadNumberDisplay(60, 2, notes), "c3");
    EXPECT_EQ(PadNumberDisplay(127, 2, notes), "N127");
    EXPECT_EQ(PadNumberDisplay(128, 2, notes), "128"); // no line: the number itself
    EXPECT_EQ(PadNumberDisplay(-1, 2, notes), "-1");
    EXPECT_FALSE(PadNumberDisplay(36, 0, notes));
    EXPECT_FALSE(PadNumberDisplay(36, -1, notes));
    EXPECT_FALSE(PadNumberDisplay(36, 3, notes));
}

TEST(PadNumberField, AssignmentSwitchShowsAtMostLine120)
{
    const NoteNames notes = testNotes();
    EXPECT_EQ(PadSwitchText(125, 2, notes), "N120");
    EXPECT_EQ(PadSwitchText(120, 2, notes), "N120");
    EXPECT_EQ(PadSwitchText(119, 2, notes), "N119");
    EXPECT_EQ(PadSwitchText(125, 1, notes), "125");
    EXPECT_FALSE(PadSwitchText(125, 0, notes));
    const NoteNames shortList = testNotes(100);
    EXPECT_EQ(PadSwitchText(125, 2, shortList), "120");
}

TEST(PadNumberField, ReadingRuleByAssignment)
{
    const NoteNames notes = testNotes();
    EXPECT_EQ(ReadPadNumber(" 64\r", 1, notes), 64);
    EXPECT_EQ(ReadPadNumber("300", 1, notes), 300); // typing is not limited
    EXPECT_EQ(ReadPadNumber("-4", 1, notes), -4);
    EXPECT_EQ(ReadPadNumber("C3X", 1, notes), 0);
    EXPECT_EQ(ReadPadNumber("", 1, notes), 0);
    EXPECT_EQ(ReadPadNumber("C3", 2, notes), 60); // first line equal in any case
    EXPECT_EQ(ReadPadNumber(" n119 ", 2, notes), 119);
    EXPECT_EQ(ReadPadNumber("ZZ", 2, notes), 0);
    EXPECT_EQ(ReadPadNumber("127", 2, notes), 127); // how a note without a line is shown
    for (const char* other : {"128", "999", "-5", "+5", "5X"})
        EXPECT_EQ(ReadPadNumber(other, 2, notes), 0) << other;
    EXPECT_FALSE(ReadPadNumber("64", 0, notes));
    EXPECT_FALSE(ReadPadNumber("64", -1, notes));
}

TEST(PadNumberField, StepPadNumberLimits)
{
    const NoteNames notes = testNotes();
    EXPECT_EQ(StepPadNumber("127", 1, 1, notes), "127");
    EXPECT_EQ(StepPadNumber("127", 1, -1, notes), "126");
    EXPECT_EQ(StepPadNumber("0", 1, -1, notes), "0");
    EXPECT_EQ(StepPadNumber("300", 1, -1, notes), "127");
    EXPECT_EQ(StepPadNumber("junk", 1, 1, notes), "1");
    EXPECT_EQ(StepPadNumber("N119", 2, 1, notes), "N119");
    EXPECT_EQ(StepPadNumber("N120", 2, 1, notes), "N119");
    EXPECT_EQ(StepPadNumber("N120", 2, -1, notes), "N119");
    EXPECT_EQ(StepPadNumber("N0", 2, -1, notes), "N0");
    EXPECT_EQ(StepPadNumber("C3", 2, 1, notes), "C3");  // "C3" finds line 60 ("c3") first
    EXPECT_EQ(StepPadNumber("C3", 2, -1, notes), "N59");
    EXPECT_EQ(StepPadNumber("unknown", 2, 1, notes), "N0");
    EXPECT_EQ(StepPadNumber("unknown", 2, -1, notes), "N0");
    EXPECT_EQ(StepPadNumber(" N5", 2, 1, notes), "N0"); // taken unchanged: not a line
    EXPECT_EQ(StepPadNumber("5", 0, 1, notes), "");
    EXPECT_EQ(StepPadNumber("N4", 2, 1, testNotes(5)), ""); // the list lacks the line
}
