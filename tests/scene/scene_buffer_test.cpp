// The whole-scene buffer: every one of the 884 bytes, carried across loading another file.
#include "scene/scene_buffer.h"
#include "scene/scene_file.h"
#include "tests/scene/scene_test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstring>

namespace lumo {
namespace {

using testing_support::BytesOf;
using testing_support::PatternedScenes;
using testing_support::WriteAll;

TEST(SceneBuffer, CarriesAllBytesOfAScene_AcrossLoadingAnotherFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString other = folder.filePath(QStringLiteral("other.lumo"));
    ASSERT_TRUE(WriteAll(other, BytesOf(PatternedScenes(3))));

    // Name length 2, stale name bytes and padding that are no setting: all of them travel.
    SceneSet scenes = PatternedScenes(1);
    SceneRecord& source = scenes.scene(2);
    ASSERT_TRUE(SetSceneName(source, "AB"));
    const SceneRecord copied = source;
    ASSERT_NE(0, copied.Padding[0] | copied.Padding[1] | copied.Padding[2]);

    SceneBuffer buffer;
    EXPECT_FALSE(buffer.holdsScene());
    EXPECT_FALSE(buffer.paste(scenes.scene(3)));
    buffer.copy(source);
    SetSceneName(source, "CHANGED"); // later edits of the source do not reach the buffer
    ASSERT_TRUE(LoadSceneFile(other, scenes).ok());
    const SceneSet opened = scenes;

    EXPECT_TRUE(buffer.paste(scenes.scene(3)));
    EXPECT_EQ(0, std::memcmp(&scenes.scene(3), &copied, kSceneRecordSize));
    for (int n : {1, 2, 4})
        EXPECT_EQ(0, std::memcmp(&scenes.scene(n), &opened.scene(n), kSceneRecordSize)) << n;
    // The same bytes again change nothing.
    EXPECT_FALSE(buffer.paste(scenes.scene(3)));
}

} // namespace
} // namespace lumo
