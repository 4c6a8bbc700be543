// Window tests of the picture: the window's own pixels of the picture area are those of the
// exported picture, in several display modes, and "Export Picture…" writes that picture.
#include "window_test_support.h"
#include "window_user.h"

#include "app/assignment_check.h"
#include "editor/control_area.h"
#include "picture/controller_picture.h"

#include <QTemporaryDir>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

// Both as opaque 32-bit pixels, whatever format each came in.
QImage opaque(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestExportPicture : public QObject {
    Q_OBJECT
private slots:
    void windowShowsThePictureThatIsRendered()
    {
        auto window = MakeWindow();
        const SceneRecord& scene = window->document().current();
        // Every sort of text: two lines, long lines that shrink, a pad with a CC, an empty name.
        window->document().editCurrent([](SceneRecord& record) {
            record.PadAssignType[2] = 1;
            record.PadCCNumber[2] = 100;
            record.PadAssignType[5] = 0;
            for (int k = 0; k < kKeyCount; k += 2) record.KeyAssignType[k] = 1;
            record.KonbEnable[3] = 0;
        });
        // No red outlines: they are the window's alone.
        QVERIFY(ConflictingControls(scene).empty());
        clickListItem(*window, 0);
        for (const int mode : {2, 0, 5, 7}) {
            chooseItem(*window, "SelDisp", mode);
            QCOMPARE(window->controls().displayMode(), mode);
            // The scene-button strip (43, 0, 361 x 27) lies over the picture's top row.
            const QRect picture = kControllerPictureRect.adjusted(0, 1, 0, 0);
            const QImage shown = opaque(window->client()->grab(picture).toImage());
            const QImage rendered = opaque(RenderControllerPicture(scene, mode, window->parameterFiles().notes))
                                        .copy(picture.translated(-kControllerPictureRect.topLeft()));
            QCOMPARE(shown.size(), rendered.size());
            QVERIFY2(shown == rendered, qPrintable(QStringLiteral("mode %1").arg(mode)));
        }
    }

    void exportPictureWritesTheRenderedPicture()
    {
        QTemporaryDir folder;
        auto window = MakeWindow();
        clickScene(*window, 3);
        chooseItem(*window, "SelDisp", 7);
        const QString path = folder.filePath(QStringLiteral("sheet.png"));
        ModalScript script;
        script.choose(path);
        widgetNamed<QAction>(*window, "ExportPicture1")->trigger();
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(script.dialogs, QStringList{"ExportDialog"});
        QImage written(path);
        QVERIFY(!written.isNull());
        QCOMPARE(opaque(written),
                 opaque(RenderControllerPicture(window->document().scenes().scene(3), 7, window->parameterFiles().notes)));
        QVERIFY(!window->document().modified());
    }
};

QTEST_MAIN(TestExportPicture)
#include "tst_export_picture.moc"
