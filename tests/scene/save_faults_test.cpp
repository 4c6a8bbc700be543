// Saving under injected faults: a full disk (a small tmpfs, mounted when running as root), a
// read-only folder, a read-only file, a folder that does not exist, the file-size limit. Each
// failure shows its error text, keeps the modified flag and the file name, and leaves the last
// good scene file, its backup and the folder's listing exactly as they were. A folder that
// takes no new files still saves a file that may be written.
#include "app/file_commands.h"
#include "app/document_session.h"
#include "scene/scene_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <deque>

#include <fcntl.h>
#include <csignal>
#include <functional>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumo {
namespace {

class ScriptedAnswers : public UserAnswers {
public:
    Answer ask(MessageKind, const QString&) override { return Answer::Yes; }
    void tell(MessageKind, const QString&) override {}
    void showError(const QString& text) override { errors.push_back(text); }
    std::optional<QString> chooseOpenFile() override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const QString&) override
    {
        if (savePaths.empty()) return std::nullopt;
        const QString path = savePaths.front();
        savePaths.pop_front();
        return path;
    }

    std::deque<QString> savePaths;
    QStringList errors;
};

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

QByteArray bytesOf(const SceneSet& scenes)
{
    const auto bytes = scenes.toBytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// A tmpfs of `kilobytes` mounted on `folder` for the life of the object; needs root (or
// CAP_SYS_ADMIN), so `reason` says why when it could not be mounted.
class SmallTmpfs {
public:
    SmallTmpfs(const QString& folder, int kilobytes)
        : m_folder(QFile::encodeName(folder))
    {
        if (::geteuid() != 0) {
            reason = "needs root to mount a tmpfs";
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
        if (::mount("lumo-save-faults", m_folder.constData(), "tmpfs", 0, options.constData()) != 0) {
            reason = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted = true;
    }
    ~SmallTmpfs()
    {
        if (mounted) ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool makeReadOnly()
    {
        return ::mount(nullptr, m_folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

    bool mounted = false;
    std::string reason;

private:
    QByteArray m_folder;
};

// Writes a file until the file system refuses more; true when it ended with ENOSPC.
bool fillUp(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const std::string chunk(4096, 'x');
    int error = 0;
    for (int i = 0; i < 1 << 20 && error == 0; ++i) {
        if (::write(fd, chunk.data(), chunk.size()) < 0) error = errno;
    }
    ::close(fd);
    return error == ENOSPC;
}

// Runs `body` in a child process and returns its wait status; the child exits with `body`'s
// result (0 = passed) unless a signal ends it first.
int statusOfChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

// Limits files written from now on to `bytes`; the current one is the only holder of it.
void limitFileSize(rlim_t bytes)
{
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

class SaveFaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temporary.isValid());
        m_folder = m_temporary.path() + QStringLiteral("/scenes");
        ASSERT_TRUE(QDir().mkpath(m_folder));
        m_file = m_folder + QStringLiteral("/live.lumo");
        m_backup = m_folder + QStringLiteral("/live.BAK");
    }

    // Two good saves: "FIRST" ends up in the backup, "SECOND" in the file. Then an unsaved
    // edit "THIRD" that the faulty save must not leave anywhere.
    void saveTwiceThenEdit()
    {
        m_document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "FIRST"); });
        m_answers.savePaths.push_back(m_file);
        ASSERT_TRUE(SaveDocumentAs(m_document));
        m_firstBytes = bytesOf(m_document.scenes());

        m_document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "SECOND"); });
        ASSERT_TRUE(SaveDocument(m_document));
        m_secondBytes = bytesOf(m_document.scenes());
        ASSERT_EQ(contentsOf(m_file), m_secondBytes);
        ASSERT_EQ(contentsOf(m_backup), m_firstBytes);
        ASSERT_TRUE(m_answers.errors.isEmpty());

        m_document.edit([](SceneSet& scenes) {
            SetSceneName(scenes.scene(1), "THIRD");
            SetSceneName(scenes.scene(4), "FOURTH");
        });
    }

    // The failed save showed exactly `text` once and changed nothing on disk or in the document.
    void expectNothingChanged(const QString& text, const QStringList& listing)
    {
        EXPECT_EQ(m_answers.errors, QStringList{text});
        EXPECT_TRUE(m_document.modified());
        EXPECT_EQ(m_document.fileName(), m_file);
        EXPECT_EQ(contentsOf(m_file), m_secondBytes);
        EXPECT_EQ(contentsOf(m_backup), m_firstBytes);
        // No temporary file is left behind.
        EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), listing);
    }

    QTemporaryDir m_temporary;
    QString m_folder;
    QString m_file;
    QString m_backup;
    DefaultParameters m_defaults;
    ScriptedAnswers m_answers;
    DocumentSession m_document{m_defaults, m_answers};
    QByteArray m_firstBytes;
    QByteArray m_secondBytes;
};

TEST_F(SaveFaultsTest, FullDiskKeepsTheLastFileAndItsBackup)
{
    SmallTmpfs disk(m_folder, 64);
    if (!disk.mounted) GTEST_SKIP() << disk.reason;
    saveTwiceThenEdit();
    ASSERT_TRUE(fillUp(m_folder + QStringLiteral("/filler")));

    EXPECT_FALSE(SaveDocument(m_document));
    expectNothingChanged(QStringLiteral("Disk full."), {"filler", "live.BAK", "live.lumo"});

    // "Quit" answered Yes: the save to a second name fails too, so the program stays open.
    m_answers.errors.clear();
    m_answers.savePaths.push_back(m_folder + QStringLiteral("/other.lumo"));
    EXPECT_FALSE(OfferToSave(m_document));
    expectNothingChanged(QStringLiteral("Disk full."), {"filler", "live.BAK", "live.lumo"});

    // Once there is room again the same document saves, and the previous file becomes the backup.
    ASSERT_TRUE(QFile::remove(m_folder + QStringLiteral("/filler")));
    m_answers.errors.clear();
    EXPECT_TRUE(SaveDocument(m_document));
    EXPECT_TRUE(m_answers.errors.isEmpty());
    EXPECT_EQ(contentsOf(m_file), bytesOf(m_document.scenes()));
    EXPECT_EQ(contentsOf(m_backup), m_secondBytes);
}

TEST_F(SaveFaultsTest, ReadOnlyFolderKeepsTheLastFileAndItsBackup)
{
    // Root writes into a folder without write permission, so as root the folder is a tmpfs
    // remounted read-only instead.
    SmallTmpfs disk(m_folder, 64);
    if (::geteuid() == 0 && !disk.mounted) GTEST_SKIP() << disk.reason;
    saveTwiceThenEdit();
    if (disk.mounted) {
        ASSERT_TRUE(disk.makeReadOnly()) << std::strerror(errno);
    } else {
        // A writable file in a locked folder is saved in place, so the file is locked too.
        ASSERT_TRUE(QFile::setPermissions(m_file, QFileDevice::ReadOwner));
        ASSERT_TRUE(QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    EXPECT_FALSE(SaveDocument(m_document));
    expectNothingChanged(QStringLiteral("File access denied."), {"live.BAK", "live.lumo"});

    m_answers.errors.clear();
    m_answers.savePaths.push_back(m_folder + QStringLiteral("/new.lumo"));
    EXPECT_FALSE(SaveDocumentAs(m_document));
    expectNothingChanged(QStringLiteral("File access denied."), {"live.BAK", "live.lumo"});

    if (!disk.mounted) {
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST_F(SaveFaultsTest, ReadOnlyFileKeepsTheLastFileAndItsBackup)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root may write a read-only file";
    saveTwiceThenEdit();
    ASSERT_TRUE(QFile::setPermissions(m_file, QFileDevice::ReadOwner));

    EXPECT_FALSE(SaveDocument(m_document));
    expectNothingChanged(QStringLiteral("File access denied."), {"live.BAK", "live.lumo"});
}

TEST_F(SaveFaultsTest, MissingFolderIsAnInvalidFilename)
{
    saveTwiceThenEdit();
    const QString missing = m_temporary.path() + QStringLiteral("/no-such-folder/new.lumo");

    m_answers.savePaths.push_back(missing);
    EXPECT_FALSE(SaveDocumentAs(m_document));
    expectNothingChanged(QStringLiteral("Invalid filename."), {"live.BAK", "live.lumo"});
    EXPECT_FALSE(QFileInfo::exists(m_temporary.path() + QStringLiteral("/no-such-folder")));

    // The folder of the current file removed after it was saved: "Save" reports the same.
    const QString moved = m_temporary.path() + QStringLiteral("/moved");
    ASSERT_TRUE(QDir().rename(m_folder, moved));
    m_answers.errors.clear();
    EXPECT_FALSE(SaveDocument(m_document));
    EXPECT_EQ(m_answers.errors, QStringList{QStringLiteral("Invalid filename.")});
    EXPECT_TRUE(m_document.modified());
    EXPECT_FALSE(QFileInfo::exists(m_folder));
    EXPECT_EQ(contentsOf(moved + QStringLiteral("/live.lumo")), m_secondBytes);
    EXPECT_EQ(contentsOf(moved + QStringLiteral("/live.BAK")), m_firstBytes);
}

TEST_F(SaveFaultsTest, FileSizeLimitIsAnIoErrorAndAKilledSaveLeavesNothingBehind)
{
    saveTwiceThenEdit();
    const QStringList listing{"live.BAK", "live.lumo"};
    // With SIGXFSZ ignored, as the programs do, the write fails with EFBIG.
    const int ignored = statusOfChild([this] {
        IgnoreFileSizeSignal();
        limitFileSize(1000);
        return !SaveDocument(m_document) && m_answers.errors == QStringList{"I/O error 27."} ? 0 : 1;
    });
    ASSERT_TRUE(WIFEXITED(ignored) && WEXITSTATUS(ignored) == 0) << ignored;
    EXPECT_EQ(contentsOf(m_file), m_secondBytes);
    EXPECT_EQ(contentsOf(m_backup), m_firstBytes);
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), listing);

    // Killed by the signal in the middle of the write: the next save cleans up after it.
    const int killed = statusOfChild([this] {
        std::signal(SIGXFSZ, SIG_DFL);
        limitFileSize(1000);
        SaveDocument(m_document);
        return 1;
    });
    ASSERT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGXFSZ) << killed;
    EXPECT_EQ(contentsOf(m_file), m_secondBytes);
    EXPECT_EQ(contentsOf(m_backup), m_firstBytes);
    EXPECT_GT(QDir(m_folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    ASSERT_TRUE(SaveDocument(m_document));
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), listing);
    EXPECT_EQ(contentsOf(m_backup), m_secondBytes);
}

TEST_F(SaveFaultsTest, LockedFolderSavesAWritableFileInPlaceBackupFirst)
{
    saveTwiceThenEdit();
    // The save runs as a user without root's right to write any folder.
    constexpr uid_t kNobody = 65534;
    for (const QString& path : {m_temporary.path(), m_folder})
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0755), 0);
    for (const QString& path : {m_file, m_backup})
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(m_folder).constData(), 0555), 0);
    }

    const int status = statusOfChild([this] {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 2;
        return SaveDocument(m_document) && m_answers.errors.isEmpty() ? 0 : 1;
    });
    ::chmod(QFile::encodeName(m_folder).constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(contentsOf(m_file), bytesOf(m_document.scenes()));
    EXPECT_EQ(contentsOf(m_backup), m_secondBytes);
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
              QStringList({"live.BAK", "live.lumo"}));
}

} // namespace
} // namespace lumo
