// Starting as a desktop program does: the file named on the command line opens as "Open"
// opens it, and the scene-file dialogs start in a folder the user can use.
#include "editor/dialog_start_folder.h"
#include "window_test_support.h"

#include "scene/scene_file.h"

#include <QTemporaryDir>

using namespace lumo;
using namespace lumo::window_testing;

class TestDesktopStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The remembered folder goes to settings of this test's own.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void startFolderFallsBackInOrder()
    {
        QTemporaryDir last, remembered, current, documents;
        const QString gone = current.filePath(QStringLiteral("gone"));
        DialogFolders folders{last.path(), remembered.path(), current.path(), documents.path()};
        QCOMPARE(DialogStartFolder(folders), last.path());
        folders.lastThisRun.clear();
        QCOMPARE(DialogStartFolder(folders), remembered.path());
        folders.remembered = gone; // removed since the last run
        QCOMPARE(DialogStartFolder(folders), current.path());
        folders.current = gone;
        QCOMPARE(DialogStartFolder(folders), documents.path());
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(current.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            folders.current = current.path();
            QCOMPARE(DialogStartFolder(folders), documents.path());
            QFile::setPermissions(current.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }

    void fileGivenAtStartOpensAndItsFolderIsWhereOpenStarts()
    {
        QTemporaryDir folder;
        SceneSet scenes;
        SetSceneName(scenes.scene(1), "GIVEN");
        const QString path = folder.filePath(QStringLiteral("given.lumo"));
        QVERIFY(SaveSceneFile(path, scenes).ok());

        const auto window = MakeWindow();
        window->openFile(path);
        // The refill clamps the file's transpose 0 and stores it: an edit that "Open" would ask about.
        window->document().markClean();
        QCOMPARE(SceneName(window->document().scenes().scene(1)), std::string("GIVEN"));

        QString startedIn;
        ModalScript script;
        script.then([&startedIn](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            startedIn = dialog ? dialog->directory().absolutePath() : QString();
            QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
        });
        window->openDocument();
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(startedIn, folder.path());
    }

    void fileThatCannotBeOpenedShowsTheErrorAndKeepsTheDefaults()
    {
        const auto window = MakeWindow();
        const SceneSet defaults = window->document().scenes();
        ModalScript script;
        script.press(QStringLiteral("OK"));
        window->openFile(QStringLiteral("/nonexistent-folder-of-lumo/x.lumo"));
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(script.boxes.size(), 1);
        QCOMPARE(script.boxes[0].text, QStringLiteral("Invalid filename."));
        QVERIFY(window->document().scenes() == defaults);
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestDesktopStart)
#include "tst_desktop_start.moc"
