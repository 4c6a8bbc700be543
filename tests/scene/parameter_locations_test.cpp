// The parameter files are found in the current folder, then the user's config folder, then
// the installed data folder; a file found but unreadable is reported, not skipped.
#include "scene/parameter_files.h"
#include "scene/parameter_locations.h"
#include "scene_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace lumo {
namespace {

using testing_support::WriteAll;

// A current folder and an XDG config folder of their own for each test.
class ParameterLocationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("work")));
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("config/vorel-lumo")));
        m_previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("config"))));
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_root.filePath(QStringLiteral("work"))));
    }
    void TearDown() override
    {
        QDir::setCurrent(m_previousFolder);
        qputenv("XDG_CONFIG_HOME", m_previousConfig);
    }
    QString work(const char* name) const { return m_root.filePath(QStringLiteral("work/") + QLatin1String(name)); }
    QString config(const char* name) const { return m_root.filePath(QStringLiteral("config/vorel-lumo/") + QLatin1String(name)); }

    QTemporaryDir m_root;
    QByteArray m_previousConfig;
    QString m_previousFolder;
};

TEST_F(ParameterLocationsTest, FoldersInOrderAndTheFirstThatHasTheFileWins)
{
    const QStringList folders = ParameterFolders();
    ASSERT_GE(folders.size(), 3);
    EXPECT_EQ(folders[0], m_root.filePath(QStringLiteral("work")));
    EXPECT_EQ(folders[1], m_root.filePath(QStringLiteral("config/vorel-lumo")));
    EXPECT_TRUE(folders.last().endsWith(QStringLiteral("/share/vorel-lumo"))) << folders.last().toStdString();

    EXPECT_EQ(FindParameterFile(folders, QStringLiteral("DefPara.ini")), std::nullopt);
    ASSERT_TRUE(WriteAll(config("DefPara.ini"), "SceneName1=config\n"));
    EXPECT_EQ(FindParameterFile(folders, QStringLiteral("DefPara.ini")), config("DefPara.ini"));
    ASSERT_TRUE(WriteAll(work("DefPara.ini"), "SceneName1=work\n"));
    EXPECT_EQ(FindParameterFile(folders, QStringLiteral("DefPara.ini")), work("DefPara.ini"));
}

TEST_F(ParameterLocationsTest, EachFileComesFromItsOwnFolderWithoutAnError)
{
    ASSERT_TRUE(WriteAll(work("DefPara.ini"), "SceneName1=work\n"));
    ASSERT_TRUE(WriteAll(config("NotePara.ini"), "Do\nRe\n"));
    const ParameterFiles files = LoadParameterFiles();
    EXPECT_EQ(files.error, QString());
    EXPECT_EQ(files.defaults.value("SceneName1"), QByteArray("work"));
    EXPECT_EQ(files.notes.size(), 2);
}

TEST_F(ParameterLocationsTest, AFileFoundButUnreadableIsReportedNotSkipped)
{
    ASSERT_TRUE(QDir().mkdir(work("DefPara.ini")));
    ASSERT_TRUE(WriteAll(config("DefPara.ini"), "SceneName1=config\n"));
    const ParameterFiles files = LoadParameterFiles();
    EXPECT_TRUE(files.error.startsWith(QStringLiteral("Cannot open file \"%1\".").arg(work("DefPara.ini"))))
        << files.error.toStdString();
    EXPECT_EQ(files.defaults.value("SceneName1"), QByteArray("SCENE1")); // the built-in copy
}

} // namespace
} // namespace lumo
