// Comparing the image sent with the image read back: one line per wrongly stored setting,
// named by scene, control and field in image order, and the Warning's ten lines and count.
#include "app/send_verification.h"

#include "device/scene_image.h"
#include "scene/parameter_files.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

ImageBuffer defaultImage()
{
    SceneSet scenes;
    ApplyDefaults(BuiltInParameterFiles().defaults, scenes);
    ImageBuffer image{};
    PackSceneImage(scenes, image.data());
    return image;
}

int at(int scene, int position)
{
    return (scene - 1) * kSceneImageSize + position;
}

TEST(SendVerification, OneWronglyStoredByteIsOneLineNamingItsSetting)
{
    ImageBuffer sent = defaultImage();
    sent[at(2, image_pos::KonbCCNumber)] = 74;
    EXPECT_TRUE(SceneImageDifferences(sent, sent).isEmpty());

    ImageBuffer read = sent;
    read[at(2, image_pos::KonbCCNumber)] = 75;
    read[kDeviceSceneImageSize + 3] ^= 1; // beyond the scenes: not compared
    EXPECT_EQ(SceneImageDifferences(sent, read), QStringList{"scene 2, Konb-1, KonbCCNumber: sent 74, read 75"});

    // The reordered arrays land on their own controls, in image order.
    read = sent;
    read[at(4, image_pos::PadMIDICh + 2)] = 200;
    read[at(4, image_pos::KeyBehavior + 24)] ^= 1;
    read[at(1, image_pos::MIDICh + 3)] = 9;
    const QStringList lines = SceneImageDifferences(sent, read);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("scene 1, Group Common-4, MIDICh: sent "));
    EXPECT_TRUE(lines[1].startsWith("scene 4, Key-25, KeyBehavior: "));
    EXPECT_TRUE(lines[2].startsWith("scene 4, Trigger Pad-3, PadMIDICh: "));
    EXPECT_TRUE(lines[2].endsWith(", read 200"));
}

TEST(SendVerification, TheNameIsOneSettingShownAsText)
{
    ImageBuffer sent{};
    ImageBuffer read{};
    const char name[] = "Lead \"A\"";
    std::copy(name, name + 8, sent.begin() + at(3, image_pos::SceneName));
    std::copy(name, name + 8, read.begin() + at(3, image_pos::SceneName));
    read[at(3, 3)] = 'f';
    read[at(3, 10)] = 0x01; // a stale byte after the name
    EXPECT_EQ(SceneImageDifferences(sent, read),
              QStringList{R"(scene 3, Common, SceneName: sent "Lead \"A\"", read "Leaf \"A\"\x00\x00\x01")"});
}

TEST(SendVerification, TheWarningShowsTenLinesAndCountsTheRest)
{
    QStringList differences;
    for (int i = 0; i < 12; ++i)
        differences.append(QString("line %1").arg(i));
    const QStringList shown = VerificationWarningText(differences).split('\n');
    ASSERT_EQ(shown.size(), 12); // heading, 10 lines, count
    EXPECT_EQ(shown[1], "line 0");
    EXPECT_EQ(shown[10], "line 9");
    EXPECT_EQ(shown[11], "... and 2 more differences.");

    EXPECT_EQ(VerificationWarningText(differences.mid(0, 11)).split('\n').last(), "... and 1 more difference.");
    EXPECT_EQ(VerificationWarningText(differences.mid(0, 10)).split('\n').last(), "line 9");
}

} // namespace
} // namespace lumo
