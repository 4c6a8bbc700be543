// The File commands with scripted answers: what each flow asks, shows, writes and leaves in
// the document, including the mended faults (read-only open, partial loads, truncated saves,
// misplaced backups, lost changes on Quit, the cancelled Save as, the flag after saving).
#include "app/file_commands.h"
#include "tests/scene/scene_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lumo {
namespace {

using testing_support::BytesOf;
using testing_support::PatternedScenes;
using testing_support::ReadAll;
using testing_support::ScriptedUser;
using testing_support::WriteAll;

const QString kSaveQuestion = QStringLiteral("Do you want to save changes?");

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        // 7 December 2026, 21:05 local time.
        m_document.clock = [] { return QDateTime(QDate(2026, 12, 7), QTime(21, 5, 42)); };
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
    }
    void TearDown() override { QDir::setCurrent(m_previousFolder); }

    QString path(const QString& name) const { return m_folder.filePath(name); }
    // The user edits something.
    void edit(const char* name = "EDITED")
    {
        m_document.editCurrent([name](SceneRecord& record) { SetSceneName(record, name); });
    }

    QTemporaryDir m_folder;
    QString m_previousFolder;
    DefaultParameters m_defaults{"SceneName1=one\nSceneName3=three\nBendSpeed=2\nKeyTrans=13\n"};
    ScriptedUser m_user;
    DocumentSession m_document{m_defaults, m_user};
};

TEST(ProposedFileName, TwoDigitsOfYearMonthDayHourAndMinute)
{
    EXPECT_EQ(ProposedFileName(QDateTime(QDate(2026, 12, 7), QTime(21, 5))),
              QStringLiteral("scene2612072105.lumo"));
    EXPECT_EQ(ProposedFileName(QDateTime(QDate(2030, 1, 2), QTime(3, 4, 59))),
              QStringLiteral("scene3001020304.lumo"));
}

TEST_F(DocumentTest, NewAppliesTheDefaultsKeepsSceneAndFlagAndForgetsTheFileName)
{
    m_user.savePaths.push_back(path("a.lumo"));
    ASSERT_TRUE(SaveDocumentAs(m_document));
    m_document.setCurrentScene(3);
    edit();

    m_user.answers.push_back(Answer::No); // the edit is dropped
    EXPECT_TRUE(NewDocument(m_document));
    SceneSet expected;
    ApplyDefaults(m_defaults, expected);
    EXPECT_EQ(BytesOf(m_document.scenes()).mid(884 * 2 + 13), BytesOf(expected).mid(884 * 2 + 13));
    EXPECT_EQ(SceneName(m_document.scenes().scene(3)), "THREE");
    EXPECT_EQ(m_document.currentScene(), 3);
    EXPECT_TRUE(m_document.modified());
    EXPECT_TRUE(m_document.fileName().isEmpty());
    EXPECT_EQ(m_user.questions, QStringList{kSaveQuestion});
}

TEST_F(DocumentTest, OpenLoadsAllFourScenesAndChangesNothingElse)
{
    const SceneSet onDisk = PatternedScenes(6);
    ASSERT_TRUE(WriteAll(path("disk.lumo"), BytesOf(onDisk)));
    m_user.savePaths.push_back(path("mine.lumo"));
    ASSERT_TRUE(SaveDocumentAs(m_document));
    m_document.setCurrentScene(2);
    edit();

    m_user.answers = {Answer::No, Answer::No};
    m_user.openPaths.push_back(std::nullopt); // cancelled: nothing happens
    EXPECT_FALSE(OpenDocument(m_document));
    m_user.openPaths.push_back(path("disk.lumo"));
    EXPECT_TRUE(OpenDocument(m_document));
    EXPECT_EQ(m_document.scenes(), onDisk);
    EXPECT_EQ(m_document.fileName(), path("mine.lumo"));
    EXPECT_EQ(m_document.currentScene(), 2);
    EXPECT_TRUE(m_document.modified());
    EXPECT_TRUE(m_user.errors.isEmpty());
    EXPECT_EQ(m_user.questions.size(), 2);

    // "Save" still writes the file of the last "Save as", not the opened one.
    EXPECT_TRUE(SaveDocument(m_document));
    EXPECT_EQ(ReadAll(path("mine.lumo")), BytesOf(onDisk));
    EXPECT_EQ(m_user.proposedNames.size(), 1);
}

// Unsaved edits survive "New" and "Open" unless the save question lets them go: Cancel, or
// Yes with the save cancelled or failing, stops the command before it touches anything.
TEST_F(DocumentTest, NewAndOpenKeepUnsavedEditsUnlessSavedOrDropped)
{
    ASSERT_TRUE(WriteAll(path("disk.lumo"), BytesOf(PatternedScenes(6))));
    edit();
    const SceneSet edited = m_document.scenes();
    m_user.answers = {Answer::Cancel, Answer::Yes, Answer::Yes, Answer::Cancel, Answer::Yes, Answer::Yes};
    m_user.savePaths = {std::nullopt, path("no-folder/x.lumo"), std::nullopt};
    for (bool (*command)(DocumentSession&) : {&NewDocument, &NewDocument, &NewDocument, &OpenDocument, &OpenDocument}) {
        EXPECT_FALSE(command(m_document));
        EXPECT_EQ(m_document.scenes(), edited);
        EXPECT_TRUE(m_document.modified());
    }
    EXPECT_EQ(m_user.errors, QStringList{QStringLiteral("Invalid filename.")});
    EXPECT_TRUE(m_user.openPaths.empty());

    // Yes and a save that works: the edits are in the file, then the open dialog follows.
    m_user.savePaths = {path("kept.lumo")};
    m_user.openPaths = {path("disk.lumo")};
    EXPECT_TRUE(OpenDocument(m_document));
    EXPECT_EQ(ReadAll(path("kept.lumo")), BytesOf(edited));
    EXPECT_EQ(m_document.scenes(), PatternedScenes(6));
    EXPECT_FALSE(m_document.modified());
    EXPECT_EQ(m_user.questions.size(), 6);
}

TEST_F(DocumentTest, OpenErrorsAreShownAndLeaveEverythingAsItWas)
{
    m_document.replaceScenes(PatternedScenes(1));
    m_user.openPaths = {path("missing.lumo"), path("no-folder/x.lumo")};
    EXPECT_FALSE(OpenDocument(m_document));
    EXPECT_FALSE(OpenDocument(m_document));
    EXPECT_EQ(m_user.errors, (QStringList{"File not found.", "Invalid filename."}));
    EXPECT_EQ(m_document.scenes(), PatternedScenes(1));
}

// Mended fault 1: the file is opened for reading only.
TEST_F(DocumentTest, Fault1ReadOnlySceneFileOpens)
{
    ASSERT_TRUE(WriteAll(path("ro.lumo"), BytesOf(PatternedScenes(8))));
    ASSERT_TRUE(QFile::setPermissions(path("ro.lumo"), QFileDevice::ReadOwner));
    m_user.openPaths.push_back(path("ro.lumo"));
    EXPECT_TRUE(OpenDocument(m_document));
    EXPECT_TRUE(m_user.errors.isEmpty());
    EXPECT_EQ(m_document.scenes(), PatternedScenes(8));

    // As root only a read-only file system refuses writing, so try that too when possible.
    if (::geteuid() != 0) return;
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("ro")));
    const QByteArray mountPoint = QFile::encodeName(path("ro"));
    if (::mount("lumo-ro", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0) return;
    const bool written = WriteAll(path("ro/ro.lumo"), BytesOf(PatternedScenes(9)));
    const bool readOnly = ::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    m_user.openPaths.push_back(path("ro/ro.lumo"));
    const bool opened = OpenDocument(m_document);
    ::umount2(mountPoint.constData(), MNT_DETACH);
    ASSERT_TRUE(written && readOnly);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(m_user.errors.isEmpty()) << m_user.errors.join(' ').toStdString();
    EXPECT_EQ(m_document.scenes(), PatternedScenes(9));
}

// Mended fault 2: a short file replaces no scene, not even in part.
TEST_F(DocumentTest, Fault2ShortFileLeavesAllFourScenes)
{
    m_document.replaceScenes(PatternedScenes(1));
    ASSERT_TRUE(WriteAll(path("short.lumo"), BytesOf(PatternedScenes(2)).left(1000)));
    ASSERT_TRUE(WriteAll(path("long.lumo"), BytesOf(PatternedScenes(3)) + "trailing bytes"));
    m_user.openPaths = {path("short.lumo"), path("long.lumo")};

    EXPECT_FALSE(OpenDocument(m_document));
    EXPECT_EQ(m_user.errors, QStringList{"Read beyond end of file."});
    EXPECT_EQ(m_document.scenes(), PatternedScenes(1));

    EXPECT_TRUE(OpenDocument(m_document));
    EXPECT_EQ(m_user.errors.size(), 1);
    EXPECT_EQ(m_document.scenes(), PatternedScenes(3));
}

// Mended fault 3: a save that fails midway leaves the previous file whole, because the data
// go to a temporary file first. A file-size limit of 1,000 bytes stops the write after its
// first 1,000 bytes (EFBIG), for root as for anybody.
TEST_F(DocumentTest, Fault3SaveFailingMidwayLeavesThePreviousFileWhole)
{
    m_document.replaceScenes(PatternedScenes(1));
    m_user.savePaths.push_back(path("live.lumo"));
    ASSERT_TRUE(SaveDocumentAs(m_document));
    const QByteArray good = ReadAll(path("live.lumo"));
    m_document.replaceScenes(PatternedScenes(2));
    edit("CHANGED");

    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = previous;
    limited.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved = SaveDocument(m_document);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(m_user.errors, QStringList{QStringLiteral("I/O error %1.").arg(EFBIG)});
    EXPECT_TRUE(m_document.modified());
    EXPECT_EQ(m_document.fileName(), path("live.lumo"));
    EXPECT_EQ(ReadAll(path("live.lumo")), good);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"live.lumo"});
}

// Mended fault 4: the backup goes beside the saved file, replacing an older backup.
TEST_F(DocumentTest, Fault4BackupBesideTheFileReplacingAnOlderOne)
{
    const QTemporaryDir target;
    const QString file = target.filePath(QStringLiteral("live.lumo"));
    const QString backup = target.filePath(QStringLiteral("live.BAK"));
    ASSERT_TRUE(WriteAll(backup, "older backup"));
    m_document.replaceScenes(PatternedScenes(1));
    m_user.savePaths.push_back(file);
    ASSERT_TRUE(SaveDocumentAs(m_document));
    EXPECT_EQ(ReadAll(backup), QByteArray("older backup")); // nothing to back up yet

    m_document.replaceScenes(PatternedScenes(2));
    EXPECT_TRUE(SaveDocument(m_document));
    EXPECT_EQ(ReadAll(backup), BytesOf(PatternedScenes(1)));
    EXPECT_EQ(ReadAll(file), BytesOf(PatternedScenes(2)));
    EXPECT_FALSE(QFile::exists(path("live.BAK"))); // not in the current folder

    m_document.replaceScenes(PatternedScenes(3));
    EXPECT_TRUE(SaveDocument(m_document));
    EXPECT_EQ(ReadAll(backup), BytesOf(PatternedScenes(2)));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"live.BAK", "live.lumo"})); // no temporary file left
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Mended fault 5: "Quit" answered Yes stops when the save is cancelled or fails.
TEST_F(DocumentTest, Fault5QuitStaysWhenTheSaveIsCancelledOrFails)
{
    edit();
    m_user.answers = {Answer::Yes, Answer::Yes};
    m_user.savePaths = {std::nullopt, path("no-folder/x.lumo")};

    EXPECT_FALSE(OfferToSave(m_document));
    EXPECT_TRUE(m_document.modified());
    EXPECT_TRUE(m_user.errors.isEmpty());

    EXPECT_FALSE(OfferToSave(m_document));
    EXPECT_TRUE(m_document.modified());
    EXPECT_EQ(m_user.errors, QStringList{"Invalid filename."});
    EXPECT_TRUE(m_document.fileName().isEmpty());
    EXPECT_EQ(m_user.questions, (QStringList{kSaveQuestion, kSaveQuestion}));
}

// Mended fault 6: a cancelled "Save as" changes nothing, so the next "Save" asks again.
TEST_F(DocumentTest, Fault6CancelledSaveAsKeepsNoFileName)
{
    edit();
    m_user.savePaths = {std::nullopt, std::nullopt};
    EXPECT_FALSE(SaveDocument(m_document));
    EXPECT_TRUE(m_document.fileName().isEmpty());
    EXPECT_FALSE(SaveDocument(m_document));
    EXPECT_EQ(m_user.proposedNames, (QStringList{"scene2612072105.lumo", "scene2612072105.lumo"}));
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(m_document.modified());
}

// Mended fault 7: a successful save clears the flag, so "Quit" right after it does not ask.
TEST_F(DocumentTest, Fault7SavingClearsTheModifiedFlag)
{
    edit();
    m_user.savePaths.push_back(path("a.lumo"));
    EXPECT_TRUE(SaveDocumentAs(m_document));
    EXPECT_FALSE(m_document.modified());
    edit("AGAIN");
    EXPECT_TRUE(SaveDocument(m_document));
    EXPECT_FALSE(m_document.modified());
    EXPECT_TRUE(OfferToSave(m_document));
    EXPECT_TRUE(m_user.questions.isEmpty());
}

TEST_F(DocumentTest, SaveAsProposesTheDatedNameThenTheCurrentFileName)
{
    m_user.savePaths = {path("first.lumo"), path("second.lumo")};
    EXPECT_TRUE(SaveDocument(m_document)); // no file name yet: "Save as"
    EXPECT_EQ(m_document.fileName(), path("first.lumo"));
    EXPECT_TRUE(SaveDocumentAs(m_document));
    EXPECT_EQ(m_user.proposedNames, (QStringList{"scene2612072105.lumo", path("first.lumo")}));
    EXPECT_EQ(m_document.fileName(), path("second.lumo"));
    EXPECT_EQ(ReadAll(path("second.lumo")).size(), 3536);
    EXPECT_FALSE(QFile::exists(path("first.BAK"))); // a new name has nothing to back up

    // A failing "Save as" keeps the current file name.
    m_user.savePaths.push_back(path("no-folder/third.lumo"));
    EXPECT_FALSE(SaveDocumentAs(m_document));
    EXPECT_EQ(m_document.fileName(), path("second.lumo"));
}

TEST_F(DocumentTest, QuitAsksOnlyWhenModifiedAndFollowsTheAnswer)
{
    EXPECT_TRUE(OfferToSave(m_document)); // nothing changed: no question
    EXPECT_TRUE(m_user.questions.isEmpty());

    edit();
    m_user.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(OfferToSave(m_document));
    EXPECT_TRUE(m_document.modified());
    EXPECT_TRUE(OfferToSave(m_document));
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files).isEmpty()); // No saves nothing
    ASSERT_EQ(m_user.askedKinds.size(), 2u);
    EXPECT_EQ(m_user.askedKinds[0], MessageKind::Warning);
    EXPECT_EQ(m_user.questions[0], kSaveQuestion);

    // Yes always runs "Save as", even when a current file name exists.
    m_user.savePaths = {path("a.lumo"), path("b.lumo")};
    ASSERT_TRUE(SaveDocumentAs(m_document));
    edit("LATER");
    m_user.answers = {Answer::Yes};
    EXPECT_TRUE(OfferToSave(m_document));
    EXPECT_FALSE(m_document.modified());
    EXPECT_EQ(m_user.proposedNames.last(), path("a.lumo"));
    EXPECT_EQ(ReadAll(path("b.lumo")), BytesOf(m_document.scenes()));
}

TEST_F(DocumentTest, OfferToSaveStopsTheAskingCommandOnlyOnCancelOrAFailedSave)
{
    EXPECT_TRUE(OfferToSave(m_document));
    edit();
    m_user.answers = {Answer::No, Answer::Cancel, Answer::Yes, Answer::Yes};
    m_user.savePaths = {std::nullopt, path("saved.lumo")};
    EXPECT_TRUE(OfferToSave(m_document));
    EXPECT_TRUE(m_document.modified());
    EXPECT_FALSE(OfferToSave(m_document));
    EXPECT_FALSE(OfferToSave(m_document));
    EXPECT_TRUE(m_document.modified());
    EXPECT_TRUE(OfferToSave(m_document));
    EXPECT_FALSE(m_document.modified());
    EXPECT_EQ(m_user.questions.size(), 4);
}

} // namespace
} // namespace lumo
