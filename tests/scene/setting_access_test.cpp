// Controls and fields found by the names a user types, and one value stored from text.
#include "scene/setting_access.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumo;

TEST(SettingAccess, ControlsAndFieldsByName)
{
    EXPECT_EQ(FindControl(QStringLiteral("Common")), 0);
    EXPECT_EQ(FindControl(QStringLiteral("group common-4")), 4);
    EXPECT_EQ(FindControl(QStringLiteral("Trigger Pad-3")), 15);
    EXPECT_EQ(FindControl(QStringLiteral("pad-8")), 20);
    EXPECT_EQ(FindControl(QStringLiteral("Key-25")), 45);
    for (const char* none : {"Knob-1", "Konb-0", "Pad-9", "Key-26", "Trigger Pad-", ""})
        EXPECT_FALSE(FindControl(QLatin1String(none))) << none;

    const std::optional<SettingAddress> slider = FindField(10, QStringLiteral("sliderccnumber"));
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->setting->id, SettingId::SliderCCNumber);
    EXPECT_EQ(slider->element, 1);
    EXPECT_FALSE(FindField(10, QStringLiteral("KonbCCNumber")));
    EXPECT_FALSE(FindField(0, QStringLiteral("MIDICh")));
    EXPECT_EQ(FieldNamesOfControl(1), QStringLiteral("MIDICh"));
}

TEST(SettingAccess, ValuesAsStoredTextAndTheNameRule)
{
    SceneRecord record;
    std::memset(&record, 0, sizeof record);
    SetSceneName(record, "SCENE1");
    const SettingAddress name = *FindField(0, QStringLiteral("SceneName"));
    const SettingAddress keyCc = *FindField(45, QStringLiteral("KeyCCNumber"));

    EXPECT_EQ(SetStoredText(record, keyCc, QStringLiteral("-2147483648")), QString());
    EXPECT_EQ(record.KeyCCNumber[24], INT32_MIN);
    EXPECT_EQ(StoredText(record, keyCc), QStringLiteral("-2147483648"));
    for (const char* refused : {"2147483648", "12 ", "0x10", ""})
        EXPECT_FALSE(SetStoredText(record, keyCc, QLatin1String(refused)).isEmpty()) << refused;
    EXPECT_EQ(record.KeyCCNumber[24], INT32_MIN);

    EXPECT_EQ(SetStoredText(record, name, QStringLiteral("ab")), QString());
    EXPECT_EQ(StoredText(record, name), QStringLiteral("ab"));
    EXPECT_EQ(std::memcmp(record.SceneNameChars, "abENE1", 6), 0);
    EXPECT_FALSE(SetStoredText(record, name, QStringLiteral("ABCDEFGHIJKLM")).isEmpty());
    EXPECT_FALSE(SetStoredText(record, name, QStringLiteral("A\u20AC")).isEmpty());
    EXPECT_EQ(StoredText(record, name), QStringLiteral("ab"));
}
