// The send backups in a temporary XDG data folder: where they go, their names within one
// second, the pruning to the newest 50 that spares other files and the backup just written.
#include "app/send_backups.h"

#include "device/scene_image.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lumo {
namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(21, 5, 33));

class SendBackupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
    }
    void TearDown() override
    {
        if (m_oldDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_oldDataHome);
    }
    static void touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_home;
    QByteArray m_oldDataHome;
};

TEST_F(SendBackupsTest, StoresTheScenesUnderTheDataFolderNamedByTheSecond)
{
    const QString folder = SendBackupFolder();
    EXPECT_EQ(folder, m_home.path() + "/vorel-lumo/backups");

    ImageBuffer image{};
    for (int i = 0; i < kDeviceSceneImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    const SceneSet scenes = ScenesFromImage(image, BuiltInParameterFiles().defaults);
    const SendBackupResult first = StoreSendBackup(scenes, folder, kNow);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.path, folder + "/2026-12-08_21-05-33.lumo");
    SceneSet stored;
    ASSERT_TRUE(LoadSceneFile(first.path, stored).ok());
    EXPECT_EQ(stored, scenes);
    ImageBuffer again{};
    PackSceneImage(stored, again.data());
    EXPECT_EQ(again, image);

    // Later backups of the same second never replace the first one.
    EXPECT_EQ(StoreSendBackup(scenes, folder, kNow).path, folder + "/2026-12-08_21-05-33_2.lumo");
    EXPECT_EQ(StoreSendBackup(scenes, folder, kNow).path, folder + "/2026-12-08_21-05-33_3.lumo");
    EXPECT_FALSE(QFile::exists(folder + "/2026-12-08_21-05-33.BAK"));
}

TEST_F(SendBackupsTest, KeepsTheNewest50AndNothingElseIsDeleted)
{
    const QString folder = SendBackupFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    QDateTime t = kNow.addDays(-1);
    for (int i = 0; i < 55; ++i)
        touch(folder + "/" + t.addSecs(i).toString("yyyy-MM-dd_HH-mm-ss") + ".lumo");
    const QStringList others = {"live.lumo", "2026-12-01_10-00-00.lumo.BAK", "2026-12-01_10-00-00.txt",
                                "notes.txt", "1999-01-01_00-00-00.lumo/"};
    for (const QString& name : others)
        name.endsWith('/') ? void(QDir(folder).mkdir(name)) : touch(folder + "/" + name);

    ASSERT_TRUE(StoreSendBackup(SceneSet(), folder, kNow).ok());
    const QStringList kept = SendBackupNames(folder);
    ASSERT_EQ(kept.size(), 50);
    EXPECT_EQ(kept.first(), t.addSecs(6).toString("yyyy-MM-dd_HH-mm-ss") + ".lumo");
    EXPECT_EQ(kept.last(), "2026-12-08_21-05-33.lumo");
    for (const QString& name : others)
        EXPECT_TRUE(QFileInfo::exists(folder + "/" + name)) << name.toStdString();
}

TEST_F(SendBackupsTest, NumberedNamesSortByNumberAndTheNewBackupSurvivesAClockSetBack)
{
    const QString folder = SendBackupFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : {"2026-12-09_08-00-00_10.lumo", "2026-12-09_08-00-00.lumo", "2026-12-09_08-00-00_2.lumo"})
        touch(folder + "/" + name);
    EXPECT_EQ(SendBackupNames(folder),
              QStringList({"2026-12-09_08-00-00.lumo", "2026-12-09_08-00-00_2.lumo", "2026-12-09_08-00-00_10.lumo"}));

    const SendBackupResult result = StoreSendBackup(SceneSet(), folder, kNow, 2);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(SendBackupNames(folder), QStringList({"2026-12-08_21-05-33.lumo", "2026-12-09_08-00-00_10.lumo"}));
}

TEST_F(SendBackupsTest, AFolderThatCannotBeMadeIsReported)
{
    touch(m_home.filePath("file"));
    const SendBackupResult result = StoreSendBackup(SceneSet(), m_home.filePath("file/backups"), kNow);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.path, m_home.filePath("file/backups/2026-12-08_21-05-33.lumo"));
}

} // namespace
} // namespace lumo
