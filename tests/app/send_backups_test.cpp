// The send backups in a temporary XDG data folder: where they go, their names within one
// second, and the pruning to the newest that spares other files and the backup just written.
#include "app/send_backups.h"

#include "device/scene_image.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lumo {
namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(21, 5, 33));
const QString kStamp = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

class SendBackupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        m_folder = SendBackupFolder();
        ASSERT_TRUE(QDir().mkpath(m_folder));
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    void touch(const QString& name) const
    {
        QFile file(m_folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_home;
    QString m_folder;
};

TEST_F(SendBackupsTest, StoresTheReadScenesNamedByTheSecondWithoutReplacingAny)
{
    EXPECT_EQ(m_folder, m_home.path() + "/vorel-lumo/backups");
    ImageBuffer image{};
    for (int i = 0; i < kDeviceSceneImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    const SceneSet scenes = ScenesFromImage(image, BuiltInParameterFiles().defaults);

    const SendBackupResult first = StoreSendBackup(scenes, m_folder, kNow);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.path, m_folder + "/2026-12-08_21-05-33.lumo");
    SceneSet stored;
    ASSERT_TRUE(LoadSceneFile(first.path, stored).ok());
    ImageBuffer again{};
    PackSceneImage(stored, again.data());
    EXPECT_EQ(again, image);
    EXPECT_EQ(StoreSendBackup(scenes, m_folder, kNow).path, m_folder + "/2026-12-08_21-05-33_2.lumo");

    touch("file");
    EXPECT_FALSE(StoreSendBackup(scenes, m_folder + "/file", kNow).ok());
}

TEST_F(SendBackupsTest, PrunesOnlyTheBackupsItWroteOldestWrittenFirst)
{
    // The user's own files and links, named and dated as backups are (one in the future).
    const QStringList others = {"2026-12-01_10-00-00.lumo", "2099-01-01_00-00-00.lumo", "live.lumo", "notes.txt"};
    for (const QString& name : others)
        touch(name);
    ASSERT_TRUE(QFile::link(m_folder + "/live.lumo", m_folder + "/2026-12-02_10-00-00.lumo"));
    ASSERT_TRUE(QDir(m_folder).mkdir("1999-01-01_00-00-00.lumo"));

    const QDateTime earlier = kNow.addDays(-1);
    for (int i = 0; i < 54; ++i)
        ASSERT_TRUE(StoreSendBackup(SceneSet(), m_folder, earlier.addSecs(i)).ok());
    // Written last with the clock set back a year: the newest all the same.
    ASSERT_TRUE(StoreSendBackup(SceneSet(), m_folder, kNow.addYears(-1)).ok());
    const QStringList kept = SendBackupNames(m_folder);
    ASSERT_EQ(kept.size(), 50);
    EXPECT_EQ(kept.first(), earlier.addSecs(5).toString(kStamp) + ".lumo");
    EXPECT_EQ(kept.last(), "2025-12-08_21-05-33.lumo");
    EXPECT_FALSE(QFileInfo::exists(m_folder + "/" + earlier.toString(kStamp) + ".lumo"));
    for (const QString& name : others + QStringList{"2026-12-02_10-00-00.lumo", "1999-01-01_00-00-00.lumo"})
        EXPECT_TRUE(QFileInfo(m_folder + "/" + name).exists() || QFileInfo(m_folder + "/" + name).isSymLink()) << name.toStdString();

    // A recorded backup replaced by a link is no longer the program's: neither counted nor
    // deleted, and the link's target stays.
    const QString first = m_folder + "/" + kept.first();
    ASSERT_TRUE(QFile::remove(first));
    ASSERT_TRUE(QFile::link(m_folder + "/notes.txt", first));
    ASSERT_TRUE(StoreSendBackup(SceneSet(), m_folder, kNow, 2).ok());
    EXPECT_EQ(SendBackupNames(m_folder), QStringList({"2025-12-08_21-05-33.lumo", "2026-12-08_21-05-33.lumo"}));
    EXPECT_TRUE(QFileInfo(first).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(m_folder + "/notes.txt"));
}

} // namespace
} // namespace lumo
