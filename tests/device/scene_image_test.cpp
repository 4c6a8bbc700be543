// The Device Scene Image: every field's position (the image order differs from the record's),
// the 8-bit truncation, unsigned widening and the name bytes.
#include "device/scene_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lumo {
namespace {

// (image position, record offset, elements) written out from the layout, independent of the code.
struct Placement {
    int imagePosition;
    int recordOffset;
    int count;
};
const std::vector<Placement> kPlacements = {
    {12, 16, 1},   {13, 20, 1},   {14, 24, 1},   {15, 28, 1},   {16, 32, 1},  {17, 36, 1},
    {18, 40, 1},   {19, 44, 1},   {20, 192, 25}, {45, 592, 25}, {70, 292, 25}, {95, 392, 25},
    {120, 492, 25}, {145, 48, 4}, {149, 64, 4},  {153, 80, 4},  {157, 96, 4}, {161, 112, 4},
    {165, 128, 4}, {169, 144, 4}, {173, 160, 4}, {177, 176, 4}, {181, 692, 8}, {189, 724, 8},
    {197, 852, 8}, {205, 820, 8}, {213, 756, 8}, {221, 788, 8},
};

std::int32_t readInt(const std::uint8_t* bytes, int offset)
{
    std::int32_t value;
    std::memcpy(&value, bytes + offset, 4);
    return value;
}

void writeInt(std::uint8_t* bytes, int offset, std::int32_t value) { std::memcpy(bytes + offset, &value, 4); }

TEST(SceneImage, PlacementsCoverEveryByteOfAScene)
{
    std::vector<int> uses(kSceneImageSize, 0);
    for (int i = 0; i < 12; ++i)
        ++uses[std::size_t(i)];
    for (const Placement& p : kPlacements)
        for (int i = 0; i < p.count; ++i)
            ++uses[std::size_t(p.imagePosition + i)];
    for (int i = 0; i < kSceneImageSize; ++i)
        EXPECT_EQ(uses[std::size_t(i)], 1) << "position " << i;
}

TEST(SceneImage, PackPutsEveryFieldAtItsPositionAsItsLow8Bits)
{
    std::array<std::uint8_t, kSceneSetSize> raw{};
    for (int s = 0; s < kSceneCount; ++s) {
        std::uint8_t* record = raw.data() + s * int(kSceneRecordSize);
        record[0] = 3; // the name "ABC" with stale bytes behind it
        std::memcpy(record + 1, "ABCDEFGHIJKL", 12);
        record[1 + 11] = std::uint8_t(s); // the last name byte tells the scenes apart
        int k = 0;
        for (const Placement& p : kPlacements)
            for (int i = 0; i < p.count; ++i, ++k)
                // Distinct low bytes per scene, and high bits that the image must drop.
                writeInt(record, p.recordOffset + 4 * i, ((k + 7 * s) % 256) | (k << 8) | (s == 3 ? int(0x80000000) : 0));
    }
    SceneSet scenes;
    scenes.fromBytes(raw.data());

    std::array<std::uint8_t, 1024> image{};
    image.fill(0xEE);
    EXPECT_EQ(PackSceneImage(scenes, image.data()), 916);

    for (int s = 0; s < kSceneCount; ++s) {
        const int base = s * kSceneImageSize;
        EXPECT_EQ(std::memcmp(image.data() + base, "ABCDEFGHIJK", 11), 0) << "scene " << s + 1;
        EXPECT_EQ(image[std::size_t(base + 11)], s);
        int k = 0;
        for (const Placement& p : kPlacements)
            for (int i = 0; i < p.count; ++i, ++k)
                ASSERT_EQ(image[std::size_t(base + p.imagePosition + i)], (k + 7 * s) % 256)
                    << "scene " << s + 1 << " position " << p.imagePosition + i;
    }
    EXPECT_EQ(image[916], 0xEE) << "nothing is written past the image";
}

TEST(SceneImage, PackTruncatesWithoutClamping)
{
    SceneSet scenes;
    scenes.scene(1).KonbCCNumber[2] = 300;
    scenes.scene(1).KeyTrans = -1;
    scenes.scene(4).PadMIDICh[7] = 16;
    std::array<std::uint8_t, 1024> image{};
    PackSceneImage(scenes, image.data());
    EXPECT_EQ(image[155], 44);
    EXPECT_EQ(image[15], 255);
    EXPECT_EQ(image[687 + 204], 16);
}

TEST(SceneImage, NamesArePackedWithTheirStaleBytes)
{
    SceneSet scenes;
    SetSceneName(scenes.scene(2), "SCENE1");
    SetSceneName(scenes.scene(2), "AB");
    SetSceneName(scenes.scene(3), "X");
    std::array<std::uint8_t, 1024> image{};
    PackSceneImage(scenes, image.data());
    EXPECT_EQ(std::memcmp(image.data() + 229, "ABENE1\0\0\0\0\0\0", 12), 0);
    EXPECT_EQ(std::memcmp(image.data() + 458, "X\0\0\0\0\0\0\0\0\0\0\0", 12), 0);
}

TEST(SceneImage, UnpackWritesEveryFieldWidenedWithoutSignAndKeepsPadding)
{
    std::array<std::uint8_t, 1024> image{};
    for (int i = 0; i < 916; ++i)
        image[std::size_t(i)] = std::uint8_t(200 + i % 50); // 200..249: no sign may creep in
    std::memcpy(image.data() + 687, "LIVE\0\0\0\0\0\0\0\0", 12);

    std::array<std::uint8_t, kSceneSetSize> raw{};
    raw.fill(0x5C);
    SceneSet scenes;
    scenes.fromBytes(raw.data());
    EXPECT_EQ(UnpackSceneImage(image.data(), scenes), 916);
    const auto after = scenes.toBytes();

    for (int s = 0; s < kSceneCount; ++s) {
        const std::uint8_t* record = after.data() + s * int(kSceneRecordSize);
        const int base = s * kSceneImageSize;
        EXPECT_EQ(record[0], 12) << "every name comes back with length 12";
        EXPECT_EQ(std::memcmp(record + 1, image.data() + base, 12), 0);
        EXPECT_EQ(record[13], 0x5C);
        EXPECT_EQ(record[15], 0x5C);
        for (const Placement& p : kPlacements)
            for (int i = 0; i < p.count; ++i)
                ASSERT_EQ(readInt(record, p.recordOffset + 4 * i), image[std::size_t(base + p.imagePosition + i)])
                    << "scene " << s + 1 << " position " << p.imagePosition + i;
    }
    EXPECT_EQ(SceneName(scenes.scene(4)), std::string("LIVE\0\0\0\0\0\0\0\0", 12));
}

TEST(SceneImage, RoundTripKeepsEveryFieldOf0To255)
{
    SceneSet scenes;
    SetSceneName(scenes.scene(1), "ROUNDTRIP123");
    for (int s = 1; s <= 4; ++s) {
        scenes.scene(s).KeyCCNumber[24] = 255;
        scenes.scene(s).PadOFFValue[0] = 128 + s;
        scenes.scene(s).SliderLLValue[3] = s;
        SetSceneName(scenes.scene(s), std::string("NAME") + char('0' + s) + "XXXXXXX");
    }
    std::array<std::uint8_t, 1024> image{};
    PackSceneImage(scenes, image.data());
    SceneSet back;
    UnpackSceneImage(image.data(), back);
    EXPECT_EQ(back, scenes);
    // Scene 2 starts at 229, 3 at 458, 4 at 687.
    EXPECT_EQ(image[229 + 4], '2');
    EXPECT_EQ(image[458 + 4], '3');
    EXPECT_EQ(image[687 + 4], '4');
}

} // namespace
} // namespace lumo
