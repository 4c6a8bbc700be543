// The settings table against the record layout, its keys and its conversions at the 32-bit edges.
#include "scene/scene_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using namespace lumo;

TEST(SceneSettings, RowsCoverTheRecordWithoutGapOrOverlap)
{
    // Name (1 + 12 bytes) and the 3 padding bytes first, then every 4-byte element in turn.
    std::size_t next = offsetof(SceneRecord, SceneMIDICh);
    ControlKind kind = ControlKind::Common;
    for (const SceneSetting& s : SceneSettings()) {
        EXPECT_EQ(FindSetting(s.name), &s) << s.name;
        EXPECT_EQ(&Setting(s.id), &s) << s.name;
        EXPECT_GE(static_cast<int>(s.kind), static_cast<int>(kind)) << s.name << ": kinds in list order";
        kind = s.kind;
        EXPECT_EQ(s.count, ControlCountOfKind(s.kind)) << s.name;
        if (s.id == SettingId::SceneName) continue;
        // Pads come before keys in the list and after them in the record.
        if (s.id == SettingId::PadAssignType) next = offsetof(SceneRecord, PadAssignType);
        if (s.id == SettingId::KeyAssignType) next = offsetof(SceneRecord, KeyAssignType);
        EXPECT_EQ(s.offset, next) << s.name;
        next = s.offset + 4 * static_cast<std::size_t>(s.count);
        if (s.id == SettingId::PadMIDICh) {
            EXPECT_EQ(next, sizeof(SceneRecord));
        }
        if (s.id == SettingId::KeyBehavior) {
            EXPECT_EQ(next, offsetof(SceneRecord, PadAssignType));
        }
    }
    EXPECT_EQ(FindSetting("KnobCCNumber"), nullptr);
    EXPECT_EQ(FindSetting("konbccnumber"), nullptr);
    EXPECT_EQ(SettingsOfKind(ControlKind::Common).size(), 9u);
    EXPECT_EQ(SettingsOfKind(ControlKind::Slider)[1].id, SettingId::SliderCCNumber);
    EXPECT_EQ(SettingsOfKind(ControlKind::Pad).size(), 6u);
}

TEST(SceneSettings, ElementAccessWritesTheRecordBytesAndSaysWhetherTheyChanged)
{
    SceneRecord r;
    std::memset(&r, 0, sizeof r);
    const SceneSetting& knobCc = Setting(SettingId::KonbCCNumber);
    EXPECT_TRUE(SetSettingValue(r, knobCc, 1, -2));
    EXPECT_FALSE(SetSettingValue(r, knobCc, 1, -2));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_EQ(bytes[84], 0xFE); // element 1 of the field at 80, little-endian
    EXPECT_EQ(bytes[87], 0xFF);
    EXPECT_EQ(r.KonbCCNumber[1], -2);
    EXPECT_EQ(SettingValue(r, knobCc, 1), -2);
    // Outside the elements, and the name, hold no number: nothing is read or written.
    EXPECT_FALSE(SetSettingValue(r, knobCc, 4, 9));
    EXPECT_FALSE(SetSettingValue(r, knobCc, -1, 9));
    EXPECT_FALSE(SetSettingValue(r, Setting(SettingId::SceneName), 0, 9));
    EXPECT_EQ(r.SliderEnable[0], 0);
    EXPECT_EQ(r.SceneNameLength, 0);
}

TEST(SceneSettings, DefaultKeysAreTheFieldNameNumberedBySceneOrElement)
{
    EXPECT_EQ(DefaultKey(Setting(SettingId::SceneName), 3, 0), "SceneName3");
    EXPECT_EQ(DefaultKey(Setting(SettingId::KonbCCNumber), 1, 1), "KonbCCNumber2");
    EXPECT_EQ(DefaultKey(Setting(SettingId::KeyCCNumber), 1, 24), "KeyCCNumber25");
    EXPECT_EQ(DefaultKey(Setting(SettingId::PadBehavior), 2, 7), "PadBehavior");
}

TEST(SceneSettings, ConversionsHoldAtThe32BitEdgesBothWays)
{
    const SceneSetting& bend = Setting(SettingId::BendSpeed);
    const SceneSetting& trans = Setting(SettingId::KeyTrans);
    EXPECT_EQ(ShownText(bend, INT_MAX), QStringLiteral("2147483648"));
    EXPECT_EQ(ShownText(trans, INT_MIN), QStringLiteral("-2147483661"));
    EXPECT_EQ(StoredNumber(bend, 4), 3);
    EXPECT_EQ(StoredNumber(bend, std::int64_t{INT_MIN}), INT_MAX); // wraps as the field does
    EXPECT_EQ(StoredNumber(trans, -12), 1);

    // Every stored value comes back from its shown text.
    for (const SceneSetting& s : SceneSettings()) {
        if (s.shownAs == ShownAs::Name) continue;
        for (std::int32_t stored : {INT_MIN, -1, 0, 1, 15, 16, 127, INT_MAX}) {
            const std::optional<QString> shown = ShownText(s, stored);
            if (!shown) {
                EXPECT_EQ(s.shownAs, ShownAs::Choice) << s.name;
                continue;
            }
            EXPECT_EQ(StoredFromText(s, *shown), stored) << s.name << " " << shown->toStdString();
        }
    }
    const SceneSetting& channel = Setting(SettingId::PianoKeyCh);
    EXPECT_EQ(ShownText(channel, 16), QStringLiteral("Global"));
    EXPECT_EQ(ShownText(Setting(SettingId::SceneMIDICh), 16), std::nullopt);
    EXPECT_EQ(StoredFromText(channel, QStringLiteral("16")), 15);
    EXPECT_EQ(StoredFromText(channel, QStringLiteral("0")), std::nullopt);
    EXPECT_EQ(StoredFromText(bend, QStringLiteral("2147483649")), std::nullopt);
    EXPECT_EQ(StoredFromText(bend, QStringLiteral("+1")), 0);
    EXPECT_EQ(StoredFromText(bend, QStringLiteral(" 1")), std::nullopt);
    EXPECT_EQ(StoredFromText(bend, QStringLiteral("-")), std::nullopt);
    EXPECT_TRUE(InEditorRange(trans, 25));
    EXPECT_FALSE(InEditorRange(trans, 26));
    EXPECT_FALSE(InEditorRange(bend, INT_MAX));
}
