// The exported pictures: their sizes, a PDF page per scene in A4 landscape, and no file left
// behind by a write that fails.
#include "picture/picture_export.h"

#include "picture/controller_picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace lumo {
namespace {

class PictureExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ApplyDefaults(m_files.defaults, m_scenes);
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString write(const QString& name, const QList<int>& scenes, int mode = 2)
    {
        return ExportPicture(path(name), m_scenes, scenes, mode, m_files.notes);
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_folder;
    ParameterFiles m_files = BuiltInParameterFiles();
    SceneSet m_scenes;
};

TEST_F(PictureExport, PictureIsTheRenderAtTheWindowsSize)
{
    ASSERT_EQ(write(QStringLiteral("a.PNG"), {3}, 7), QString());
    const QImage png(path(QStringLiteral("a.PNG")));
    EXPECT_EQ(png.size(), QSize(713, 306));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              RenderControllerPicture(m_scenes.scene(3), 7, m_files.notes).convertToFormat(QImage::Format_RGB32));

    ASSERT_EQ(write(QStringLiteral("a.svg"), {1}), QString());
    const QByteArray svg = contents(path(QStringLiteral("a.svg")));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 713 306\"")) << svg.left(400).constData();
    EXPECT_TRUE(svg.contains("<image")); // the picture itself, under the labels' texts
    EXPECT_TRUE(svg.contains(">Global</text>"));
}

TEST_F(PictureExport, SheetHasAnA4LandscapePagePerScene)
{
    static const QRegularExpression page(QStringLiteral("/Type /Page\\b"));
    static const QRegularExpression a4Landscape(QStringLiteral("/MediaBox \\[0 0 842(\\.0+)? 595(\\.0+)?\\]"));
    ASSERT_EQ(write(QStringLiteral("all.pdf"), {1, 2, 3, 4}), QString());
    const QString all = QString::fromLatin1(contents(path(QStringLiteral("all.pdf"))));
    EXPECT_TRUE(all.startsWith(QLatin1String("%PDF-")));
    EXPECT_EQ(all.count(page), 4);
    EXPECT_EQ(all.count(a4Landscape), 4);

    ASSERT_EQ(write(QStringLiteral("one.pdf"), {2}), QString());
    EXPECT_EQ(QString::fromLatin1(contents(path(QStringLiteral("one.pdf")))).count(page), 1);
}

TEST_F(PictureExport, FailedWriteLeavesNoFileAndSaysWhy)
{
    EXPECT_EQ(write(QStringLiteral("a.jpg"), {1}), kPictureExtensionProblem);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.jpg"))));
    const QString problem = write(QStringLiteral("missing/a.pdf"), {1, 2});
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Cannot write \"a.pdf\": "))) << problem.toStdString();
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

} // namespace
} // namespace lumo

int main(int argc, char** argv)
{
    // Also when CTest lists the tests, which it does without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
