// Comparing the image sent with the image read back: one line per wrongly stored setting,
// named by scene, control and field in image order, and the Warning's ten lines and count.
#include "app/send_verification.h"

#include "device/scene_image.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

int at(int scene, int position)
{
    return (scene - 1) * kSceneImageSize + position;
}

TEST(SendVerification, EachWronglyStoredSettingIsOneLine)
{
    ImageBuffer sent{};
    sent[at(2, image_pos::KonbCCNumber)] = 74;
    ImageBuffer read = sent;
    read[at(2, image_pos::KonbCCNumber)] = 75;
    read[kDeviceSceneImageSize] = 1; // beyond the scenes: not compared
    EXPECT_EQ(SceneImageDifferences(sent, read), QStringList{"scene 2, Konb-1, KonbCCNumber: sent 74, read 75"});

    // The reordered arrays name their own controls, in image order; the name is one setting.
    read = sent;
    read[at(4, image_pos::PadMIDICh + 2)] = 200;
    read[at(4, image_pos::KeyBehavior + 24)] = 1;
    read[at(1, image_pos::MIDICh + 3)] = 9;
    std::copy_n("Le\"d", 4, sent.begin() + at(3, image_pos::SceneName));
    std::copy_n("Le\"f\0\0\1", 7, read.begin() + at(3, image_pos::SceneName));
    EXPECT_EQ(SceneImageDifferences(sent, read),
              QStringList({"scene 1, Group Common-4, MIDICh: sent 0, read 9",
                           R"(scene 3, Common, SceneName: sent "Le\"d", read "Le\"f\x00\x00\x01")",
                           "scene 4, Key-25, KeyBehavior: sent 0, read 1",
                           "scene 4, Trigger Pad-3, PadMIDICh: sent 0, read 200"}));
}

TEST(SendVerification, TheWarningShowsTenLinesAndCountsTheRest)
{
    QStringList differences;
    for (int i = 0; i < 12; ++i)
        differences.append(QString("line %1").arg(i));
    const QStringList shown = VerificationWarningText(differences).split('\n');
    ASSERT_EQ(shown.size(), 12); // heading, 10 lines, count
    EXPECT_EQ(shown[10], "line 9");
    EXPECT_EQ(shown[11], "... and 2 more differences.");
    EXPECT_EQ(VerificationWarningText(differences.mid(0, 11)).split('\n').last(), "... and 1 more difference.");
    EXPECT_EQ(VerificationWarningText(differences.mid(0, 10)).split('\n').last(), "line 9");
}

} // namespace
} // namespace lumo
