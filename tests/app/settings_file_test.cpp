// The settings files through a real config folder: a FIFO is neither waited on nor replaced, a
// link to a device keeps its target, a link to a regular file is read and saved through.
#include "app/remembered_pair.h"
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace lumo {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        ASSERT_TRUE(QDir().mkpath(m_home.path() + "/vorel-lumo"));
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }
    QString devicePath() const { return m_home.path() + "/vorel-lumo/device.ini"; }

    QTemporaryDir m_home;
};

TEST_F(SettingsFileTest, AFifoOrALinkToADeviceIsNeitherReadNorReplaced)
{
    ASSERT_EQ(::mkfifo(devicePath().toUtf8().constData(), 0600), 0);
    EXPECT_EQ(SettingsFile(QSettings::IniFormat, "device").path(), devicePath());
    EXPECT_EQ(RememberedPair().output, "");
    RememberPair({"out", "in"});
    EXPECT_EQ(QFileInfo(devicePath()).isFile(), false);

    // A character device of our own (1,3 is the null device); making one needs root.
    const QString node = m_home.path() + "/null-node";
    if (::mknod(node.toUtf8().constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) return;
    ASSERT_TRUE(QFile::remove(devicePath()));
    ASSERT_TRUE(QFile::link(node, devicePath()));
    RememberPair({"out", "in"});
    struct stat info {};
    ASSERT_EQ(::stat(node.toUtf8().constData(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(SettingsFileTest, ALinkToARegularFileIsFollowed)
{
    const QString dotfile = m_home.path() + "/dotfiles-device.ini";
    QFile(dotfile).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(dotfile, devicePath()));
    RememberPair({"out", "in"});
    EXPECT_TRUE(QFileInfo(devicePath()).isSymLink());
    EXPECT_EQ(RememberedPair().input, "in");
    EXPECT_GT(QFileInfo(dotfile).size(), 0);
}

} // namespace
} // namespace lumo
