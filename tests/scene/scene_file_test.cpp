// The scene file: its bytes at the record's offsets, loading whole or not at all, saving
// through a temporary file with the backup beside the saved file, and the error texts. The
// read-only and failing-save cases run through the document in document_test.cpp.
#include "scene/scene_file.h"
#include "scene_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>


namespace lumo {
namespace {

using testing_support::BytesOf;
using testing_support::Int32At;
using testing_support::PatternedScenes;
using testing_support::ReadAll;
using testing_support::WriteAll;

class SceneFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QStringList listing() const
    {
        return QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                               QDir::Name);
    }
    QTemporaryDir m_folder;
};

TEST_F(SceneFileTest, FieldsLandAtTheirOffsetsInTheirScene)
{
    SceneSet scenes;
    SceneRecord& third = scenes.scene(3);
    SetSceneName(third, "LIVE");
    third.SceneMIDICh = 0x0102;
    third.KeyTrans = -1;
    third.PadConstVelocity = 77;
    third.MIDICh[3] = 16;
    third.KonbLLValue[0] = 5;
    third.SliderEnable[0] = 1;
    third.KeyAssignType[24] = 1;
    third.KeyBehavior[0] = 1;
    third.PadAssignType[0] = 2;
    third.PadMIDICh[7] = 9;
    ASSERT_TRUE(SaveSceneFile(path("s.lumo"), scenes).ok());

    const QByteArray bytes = ReadAll(path("s.lumo"));
    ASSERT_EQ(bytes.size(), 3536);
    const qsizetype base = 2 * 884;
    EXPECT_EQ(bytes.mid(base, 5), QByteArray("\x04LIVE"));
    EXPECT_EQ(bytes.mid(base + 16, 4), QByteArray("\x02\x01\0\0", 4)); // little-endian
    EXPECT_EQ(Int32At(bytes, base + 28), -1);
    EXPECT_EQ(Int32At(bytes, base + 44), 77);
    EXPECT_EQ(Int32At(bytes, base + 48 + 12), 16);
    EXPECT_EQ(Int32At(bytes, base + 112), 5);
    EXPECT_EQ(Int32At(bytes, base + 128), 1);
    EXPECT_EQ(Int32At(bytes, base + 192 + 96), 1);
    EXPECT_EQ(Int32At(bytes, base + 592), 1);
    EXPECT_EQ(Int32At(bytes, base + 692), 2);
    EXPECT_EQ(Int32At(bytes, base + 852 + 28), 9);
    // Everything else, in scenes 1, 2 and 4 too, stays zero.
    int nonZero = 0;
    for (const char byte : bytes) nonZero += byte != 0;
    EXPECT_EQ(nonZero, 4 + 1 + 1 + 4 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1);
}

TEST_F(SceneFileTest, EveryByteRoundTripsIncludingPaddingStaleNameBytesAndOutOfRangeValues)
{
    SceneSet written = PatternedScenes(3);
    written.scene(2).KonbCCNumber[1] = 200;
    ASSERT_TRUE(SaveSceneFile(path("a.lumo"), written).ok());
    SceneSet read;
    ASSERT_TRUE(LoadSceneFile(path("a.lumo"), read).ok());
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.scene(2).KonbCCNumber[1], 200);
    ASSERT_TRUE(SaveSceneFile(path("b.lumo"), read).ok());
    EXPECT_EQ(ReadAll(path("b.lumo")), ReadAll(path("a.lumo")));
    EXPECT_EQ(ReadAll(path("b.lumo")), BytesOf(written));
}

TEST_F(SceneFileTest, LongerFileLoadsItsFirst3536Bytes)
{
    const SceneSet expected = PatternedScenes(9);
    ASSERT_TRUE(WriteAll(path("long.lumo"), BytesOf(expected) + QByteArray(64, '\x7F')));
    SceneSet scenes;
    EXPECT_TRUE(LoadSceneFile(path("long.lumo"), scenes).ok());
    EXPECT_EQ(scenes, expected);
}

TEST_F(SceneFileTest, ShortFileFailsAndChangesNoScene)
{
    const SceneSet before = PatternedScenes(1);
    for (const qsizetype size : {0, 1000, 3535}) {
        ASSERT_TRUE(WriteAll(path("short.lumo"), BytesOf(PatternedScenes(50)).left(size)));
        SceneSet scenes = before;
        const FileResult result = LoadSceneFile(path("short.lumo"), scenes);
        EXPECT_EQ(result.error, FileError::ReadBeyondEnd) << size;
        EXPECT_EQ(FileErrorText(result), QStringLiteral("Read beyond end of file."));
        EXPECT_EQ(scenes, before) << size;
    }
}

TEST_F(SceneFileTest, OpenFailuresMapToTheirErrors)
{
    SceneSet scenes = PatternedScenes(2);
    const SceneSet before = scenes;
    EXPECT_EQ(LoadSceneFile(path("missing.lumo"), scenes).error, FileError::FileNotFound);
    EXPECT_EQ(LoadSceneFile(path("no-folder/x.lumo"), scenes).error, FileError::InvalidFilename);
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("folder.lumo")));
    EXPECT_EQ(LoadSceneFile(path("folder.lumo"), scenes).error, FileError::AccessDenied);
    EXPECT_EQ(scenes, before);
}

TEST_F(SceneFileTest, SaveKeepsTheModeOfTheFileItReplaces)
{
    const QString file = path("shared.lumo");
    ASSERT_TRUE(SaveSceneFile(file, PatternedScenes(1)).ok());
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                      | QFileDevice::WriteGroup | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(file, mode));
    ASSERT_TRUE(SaveSceneFile(file, PatternedScenes(2)).ok());
    EXPECT_EQ(QFile::permissions(file) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), mode);
}

TEST_F(SceneFileTest, SaveOntoAFolderIsAccessDenied)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("taken.lumo")));
    EXPECT_EQ(SaveSceneFile(path("taken.lumo"), PatternedScenes(1)).error, FileError::AccessDenied);
    EXPECT_EQ(listing(), QStringList{"taken.lumo"});
}

TEST(BackupPathOf, SameFolderExtensionReplacedOrAppended)
{
    EXPECT_EQ(BackupPathOf(QStringLiteral("/data/live.lumo")), QStringLiteral("/data/live.BAK"));
    EXPECT_EQ(BackupPathOf(QStringLiteral("live.lumo")), QStringLiteral("live.BAK"));
    EXPECT_EQ(BackupPathOf(QStringLiteral("/data/live")), QStringLiteral("/data/live.BAK"));
    EXPECT_EQ(BackupPathOf(QStringLiteral("/data.d/live")), QStringLiteral("/data.d/live.BAK"));
    EXPECT_EQ(BackupPathOf(QStringLiteral("/data/set.2.lumo")), QStringLiteral("/data/set.2.BAK"));
}

TEST(FileErrorText, EveryErrorEndsWithAFullStop)
{
    EXPECT_EQ(FileErrorText({FileError::FileNotFound, 0}), QStringLiteral("File not found."));
    EXPECT_EQ(FileErrorText({FileError::InvalidFilename, 0}), QStringLiteral("Invalid filename."));
    EXPECT_EQ(FileErrorText({FileError::TooManyOpenFiles, 0}), QStringLiteral("Too many open files."));
    EXPECT_EQ(FileErrorText({FileError::AccessDenied, 0}), QStringLiteral("File access denied."));
    EXPECT_EQ(FileErrorText({FileError::ReadBeyondEnd, 0}), QStringLiteral("Read beyond end of file."));
    EXPECT_EQ(FileErrorText({FileError::DiskFull, 0}), QStringLiteral("Disk full."));
    EXPECT_EQ(FileErrorText({FileError::Other, 5}), QStringLiteral("I/O error 5."));
}

} // namespace
} // namespace lumo
