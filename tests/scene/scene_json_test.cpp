// The JSON form of the scenes: byte-exact round trips, the name rule on an edited name, and
// every refusal naming its place.
#include "scene/scene_json.h"

#include "scene/scene_settings.h"
#include "scene_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace lumo;
using namespace lumo::testing_support;

namespace {

SceneSet RandomScenes(unsigned seed)
{
    std::mt19937 random(seed);
    std::array<std::uint8_t, kSceneSetSize> bytes;
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    SceneSet scenes;
    scenes.fromBytes(bytes.data());
    return scenes;
}

// `json` with the first value of `field` (scene 1's) replaced by `value`.
QByteArray WithValue(QByteArray json, const char* field, const char* value)
{
    const QByteArray key = QByteArray("\"") + field + "\": ";
    const qsizetype start = json.indexOf(key) + key.size();
    qsizetype end = json.indexOf('\n', start);
    if (json.at(end - 1) == ',') --end;
    return json.replace(start, end - start, value);
}

} // namespace

TEST(SceneJson, AnyBytesComeBackExactly)
{
    std::vector<SceneSet> cases{SceneSet(), PatternedScenes(3)};
    for (unsigned seed = 1; seed <= 20; ++seed) cases.push_back(RandomScenes(seed));
    // The 32-bit and 8-bit extremes, a name length past 12, and name bytes that are escaped.
    SceneRecord& edges = cases[0].scene(2);
    edges.SceneMIDICh = INT32_MIN;
    edges.KeyCCNumber[24] = INT32_MAX;
    edges.SceneNameLength = 255;
    std::memcpy(edges.SceneNameChars, "\0\x1f\"\\\x7f\x80\x9f\xa0\xff\n\t/", kSceneNameCapacity);
    edges.Padding[2] = 255;
    for (const SceneSet& scenes : cases) {
        const JsonScenes back = ScenesFromJson(ScenesToJson(scenes));
        ASSERT_TRUE(back.ok()) << back.error.toStdString();
        EXPECT_EQ(BytesOf(back.scenes), BytesOf(scenes));
    }
}

TEST(SceneJson, ReadableSettingsFirstThenTheBytesOfNoSetting)
{
    SceneSet scenes = PatternedScenes(0);
    SetSceneName(scenes.scene(1), "A\"B\\C\x7f");
    const QByteArray json = ScenesToJson(scenes);
    qsizetype previous = json.indexOf("\"scene\": 1,");
    for (const SceneSetting& setting : SceneSettings()) {
        const qsizetype at = json.indexOf("\"" + QByteArray(setting.name.data(), qsizetype(setting.name.size())) + "\": ");
        EXPECT_GT(at, previous) << setting.name;
        previous = at;
    }
    EXPECT_GT(json.indexOf("\"SceneNameLength\": 6,"), previous);
    EXPECT_TRUE(json.contains("\"SceneName\": \"A\\\"B\\\\C\\u007f\","));
    EXPECT_TRUE(json.contains("\"KonbCCNumber\": [" + QByteArray::number(scenes.scene(1).KonbCCNumber[0]) + ", "));
    EXPECT_TRUE(json.contains("\"Padding\": [" + QByteArray::number(scenes.scene(1).Padding[0]) + ", "));
}

TEST(SceneJson, AChangedNameIsStoredWithTheNameRuleAndUnchangedBytesStand)
{
    SceneSet scenes;
    SetSceneName(scenes.scene(1), "SCENE1");
    const QByteArray json = ScenesToJson(scenes);

    // The readable name edited: characters and length written, the stale bytes after them kept.
    JsonScenes back = ScenesFromJson(QByteArray(json).replace("\"SCENE1\"", "\"\\u00fcB\""));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.scenes.scene(1).SceneNameLength, 2);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(back.scenes.scene(1).SceneNameChars), 6), "\xfc" "BENE1");

    // The bytes edited and the readable name left as it was: the bytes stand, unless they no
    // longer spell that name, which is then written over them.
    back = ScenesFromJson(QByteArray(json).replace("[83, 67, 69, 78, 69, 49, 0, 0,", "[83, 67, 69, 78, 69, 49, 7, 0,"));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.scenes.scene(1).SceneNameChars[6], 7);
    back = ScenesFromJson(QByteArray(json).replace("\"SceneNameLength\": 6", "\"SceneNameLength\": 3"));
    EXPECT_EQ(back.scenes.scene(1).SceneNameLength, 6);
}

TEST(SceneJson, EveryFaultIsRefusedNamingItsPlace)
{
    SceneSet scenes;
    SetSceneName(scenes.scene(1), "SCENE1");
    const QByteArray json = ScenesToJson(scenes);
    const struct {
        QByteArray json;
        const char* error;
    } cases[] = {
        {json.left(json.size() - 2), "line 144, column 1: unterminated object"},
        {WithValue(json, "KonbCCNumber", "[0 0, 0, 0]"), "line 16, column 27: missing value separator"},
        {WithValue(json, "BendSpeed", "1, \"BendSpeed\": 2"), "line 8, column 23: \"BendSpeed\" stands twice in one object"},
        {"[]", "the text is no JSON object"},
        // What Qt's parser takes but JSON has not.
        {WithValue(json, "SceneName", "\"A\tB\""), "line 5, column 22: a control character in a text must be written as \\u0009"},
        {WithValue(json, "SceneName", "\"\\x41\""), "line 5, column 21: \"\\x\" is no JSON escape"},
        {WithValue(json, "BendSpeed", "1."), "line 8, column 20: \"1.\" is no JSON number"},
        {WithValue(json, "BendSpeed", "-.5"), "line 8, column 20: \"-.5\" is no JSON number"},
        {"{\"scenes\": [], \"x\": 1}", "\"x\": unknown field"},
        {"{\"scenes\": [{}, {}, {}]}", "\"scenes\": 3 elements, 4 are needed"},
        {WithValue(json, "scene", "5"), "\"scenes\", element 1: \"scene\" must be 1, 2, 3 or 4"},
        {WithValue(json, "scene", "2"), "\"scenes\", element 2: scene 2 stands twice"},
        {QByteArray(json).replace("      \"BendSpeed\": 0,\n", ""), "scene 1, \"BendSpeed\": missing field"},
        {WithValue(json, "BendSpeed", "0, \"Bend\": 1"), "scene 1, \"Bend\": unknown field"},
        {WithValue(json, "KonbCCNumber", "[0, 2147483648, 0, 0]"),
         "scene 1, Konb-2, KonbCCNumber: 2147483648 is beyond 32 bits (-2147483648 .. 2147483647)"},
        {WithValue(json, "KonbURValue", "[-2147483649, 0, 0, 0]"), "scene 1, Konb-1, KonbURValue: -2147483649 is beyond 32 bits (-2147483648 .. 2147483647)"},
        {WithValue(json, "PadMIDICh", "[0, 0, 0, 0, 0, 0, 0, 1.5]"), "scene 1, Trigger Pad-8, PadMIDICh: 1.5 is no whole number"},
        {WithValue(json, "KeyCCNumber", "[0, 0]"), "scene 1, KeyCCNumber: 2 elements, 25 are needed"},
        {WithValue(json, "MIDICh", "0"), "scene 1, MIDICh: an array of 4 numbers is needed, not a number"},
        {WithValue(json, "SceneMIDICh", "\"0\""), "scene 1, SceneMIDICh: a number is needed, not a text"},
        {WithValue(json, "SceneMIDICh", "[0]"), "scene 1, SceneMIDICh: a number is needed, not an array"},
        {WithValue(json, "Padding", "[0, 256, 0]"), "scene 1, Padding, byte 2 of 3: 256 is beyond 8 bits (0 .. 255)"},
        {WithValue(json, "SceneNameLength", "-1"), "scene 1, SceneNameLength: -1 is beyond 8 bits (0 .. 255)"},
        {WithValue(json, "SceneName", "null"), "scene 1, SceneName: a text is needed, not null"},
        {WithValue(json, "SceneName", "\"ABCDEFGHIJKLM\""),
         "scene 1, SceneName: \"ABCDEFGHIJKLM\" has 13 characters, a scene name 12 at most"},
        {WithValue(json, "SceneName", "\"A\\u0100\""), "scene 1, SceneName: '\u0100' is no 8-bit (Latin-1) character"},
    };
    for (const auto& c : cases) EXPECT_EQ(ScenesFromJson(c.json).error.toStdString(), c.error);
}
