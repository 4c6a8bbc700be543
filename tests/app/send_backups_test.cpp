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

TEST_F(SendBackupsTest, KeepsTheNewestBackupsOnlyAmongTheirOwnNames)
{
    const QDateTime earlier = kNow.addDays(-1);
    for (int i = 0; i < 55; ++i)
        touch(earlier.addSecs(i).toString(kStamp) + ".lumo");
    const QStringList others = {"live.lumo", "2026-12-01_10-00-00.lumo.BAK", "notes.txt", "1999-01-01_00-00-00.lumo"};
    for (const QString& name : others.mid(0, 3))
        touch(name);
    QDir(m_folder).mkdir(others.last());

    ASSERT_TRUE(StoreSendBackup(SceneSet(), m_folder, kNow).ok());
    const QStringList kept = SendBackupNames(m_folder);
    ASSERT_EQ(kept.size(), 50);
    EXPECT_EQ(kept.first(), earlier.addSecs(6).toString(kStamp) + ".lumo");
    EXPECT_EQ(kept.last(), "2026-12-08_21-05-33.lumo");
    for (const QString& name : others)
        EXPECT_TRUE(QFileInfo::exists(m_folder + "/" + name)) << name.toStdString();

    // Numbered names sort by number; a backup made with the clock set back stays.
    for (const char* name : {"2026-12-09_08-00-00_10.lumo", "2026-12-09_08-00-00_2.lumo"})
        touch(name);
    ASSERT_TRUE(StoreSendBackup(SceneSet(), m_folder, kNow.addYears(-1), 2).ok());
    EXPECT_EQ(SendBackupNames(m_folder), QStringList({"2025-12-08_21-05-33.lumo", "2026-12-09_08-00-00_10.lumo"}));
}

} // namespace
} // namespace lumo
