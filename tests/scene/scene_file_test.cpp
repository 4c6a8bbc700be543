// The scene file: its bytes at the record's offsets, loading whole or not at all, saving
// through a temporary file with the backup beside the saved file, and the error texts. The
// read-only and failing-save cases run through the document in document_test.cpp.
#include "scene/file_names.h"
#include "scene/scene_file.h"
#include "scene_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(SceneFileTest, SaveKeepsTheModeOwnerAndGroupOfTheFileItReplaces)
{
    const QString file = path("shared.lumo");
    const mode_t mask = ::umask(027);
    ASSERT_TRUE(SaveSceneFile(file, PatternedScenes(1)).ok());
    ::umask(mask);
    EXPECT_EQ(QFile::permissions(file) & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup);

    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                      | QFileDevice::WriteGroup | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(file, mode));
    // Only root may give a file away; another user keeps at least the mode.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
    }
    ASSERT_TRUE(SaveSceneFile(file, PatternedScenes(2)).ok());
    EXPECT_EQ(QFile::permissions(file) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), mode);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    if (root) {
        EXPECT_EQ(std::pair(info.st_uid, info.st_gid), std::pair(65534u, 65534u));
    }
}

TEST_F(SceneFileTest, SaveOntoAFolderIsAccessDenied)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("taken.lumo")));
    EXPECT_EQ(SaveSceneFile(path("taken.lumo"), PatternedScenes(1)).error, FileError::AccessDenied);
    EXPECT_EQ(listing(), QStringList{"taken.lumo"});
}

TEST_F(SceneFileTest, SavingThroughALinkWritesTheFileItNamesAndKeepsTheLink)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkpath(QStringLiteral("real")));
    ASSERT_TRUE(QDir(m_folder.path()).mkpath(QStringLiteral("links")));
    const QString real = path("real/live.lumo");
    ASSERT_TRUE(SaveSceneFile(real, PatternedScenes(1)).ok());
    // A relative link, read from the link's own folder, through a second link.
    ASSERT_TRUE(QFile::link(QStringLiteral("../real/live.lumo"), path("links/inner.lumo")));
    ASSERT_TRUE(QFile::link(QStringLiteral("inner.lumo"), path("links/outer.lumo")));

    ASSERT_TRUE(SaveSceneFile(path("links/outer.lumo"), PatternedScenes(2)).ok());
    EXPECT_EQ(QFileInfo(path("links/outer.lumo")).symLinkTarget(), QFileInfo(path("links/inner.lumo")).absoluteFilePath());
    EXPECT_EQ(QDir(path("links")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList({"inner.lumo", "outer.lumo"}));
    EXPECT_EQ(ReadAll(real), BytesOf(PatternedScenes(2)));
    EXPECT_EQ(ReadAll(path("real/live.BAK")), BytesOf(PatternedScenes(1)));

    // A link to a file not yet there creates that file.
    ASSERT_TRUE(QFile::link(QStringLiteral("../real/new.lumo"), path("links/new.lumo")));
    ASSERT_TRUE(SaveSceneFile(path("links/new.lumo"), PatternedScenes(3)).ok());
    EXPECT_TRUE(QFileInfo(path("links/new.lumo")).isSymLink());
    EXPECT_EQ(ReadAll(path("real/new.lumo")), BytesOf(PatternedScenes(3)));
}

TEST_F(SceneFileTest, FifosAndDevicesAreRefusedWithoutWaitingOrMovingAnything)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.lumo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path("null.lumo")));
    ASSERT_TRUE(QFile::link(QStringLiteral("pipe.lumo"), path("to-pipe.lumo")));
    const QStringList before = listing();
    for (const char* name : {"pipe.lumo", "null.lumo", "to-pipe.lumo"}) {
        SceneSet scenes = PatternedScenes(1);
        EXPECT_EQ(LoadSceneFile(path(name), scenes).error, FileError::AccessDenied) << name;
        EXPECT_EQ(scenes, PatternedScenes(1));
        EXPECT_EQ(SaveSceneFile(path(name), PatternedScenes(2)).error, FileError::AccessDenied) << name;
    }
    EXPECT_EQ(listing(), before);
    EXPECT_TRUE(QFileInfo(path("null.lumo")).isSymLink());
    EXPECT_EQ(QFileInfo(path("pipe.lumo")).isFile(), false);
}

TEST_F(SceneFileTest, ASaveOverJsonTextKeepsItAsNameDotBakNotAsTheSceneFilesBackup)
{
    const QByteArray text = " \n{\n  \"scenes\": []\n}\n";
    ASSERT_TRUE(WriteAll(path("live.json"), text));
    ASSERT_TRUE(WriteAll(path("live.BAK"), "the backup of live.lumo"));
    EXPECT_TRUE(HoldsJsonText(path("live.json")));
    EXPECT_FALSE(HoldsJsonText(path("live.BAK")));
    ASSERT_TRUE(SaveSceneFile(path("live.json"), PatternedScenes(1)).ok());
    EXPECT_EQ(ReadAll(path("live.json.bak")), text);
    EXPECT_EQ(ReadAll(path("live.BAK")), "the backup of live.lumo");
    EXPECT_FALSE(HoldsJsonText(path("live.json")));
}

TEST_F(SceneFileTest, NamesUpToTheLongestTheFileSystemTakesSaveWithTheirBackup)
{
    for (int length : {241, 255}) {
        const QString name = QString(length - 5, QLatin1Char('n')) + QStringLiteral(".lumo");
        ASSERT_TRUE(SaveSceneFile(path(name), PatternedScenes(1)).ok()) << length;
        ASSERT_TRUE(SaveSceneFile(path(name), PatternedScenes(2)).ok()) << length;
        EXPECT_EQ(ReadAll(path(name)), BytesOf(PatternedScenes(2)));
        EXPECT_EQ(ReadAll(BackupPathOf(path(name))), BytesOf(PatternedScenes(1)));
    }
    EXPECT_EQ(listing().size(), 4);
}

TEST_F(SceneFileTest, NamesThatAreNotUtf8SaveAndOpenUnderTheirOwnBytes)
{
    for (const QByteArray& bytes : {QByteArray("caf\xe9.lumo"), QByteArray("\xff\xc3(\xed\xa0\x80.lumo"),
                                    QByteArray("caf\xc3\xa9 \xf0\x9f\x8e\xb9.lumo")}) {
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameToBytes(name), bytes) << bytes.toHex().constData();
        ASSERT_TRUE(SaveSceneFile(m_folder.path() + QLatin1Char('/') + name, PatternedScenes(4)).ok());
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(m_folder.path()) + '/' + bytes, &info), 0) << bytes.toHex().constData();
        SceneSet loaded;
        EXPECT_TRUE(LoadSceneFile(m_folder.path() + QLatin1Char('/') + name, loaded).ok());
        EXPECT_EQ(loaded, PatternedScenes(4));
    }
    // Valid UTF-8 reads as QFile reads it.
    EXPECT_EQ(FileNameFromBytes("caf\xc3\xa9"), QStringLiteral("caf\u00e9"));
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
