// The window's send with its backup and verification against the simulated controller: the
// Warning after a wrong store, the checks remembered across windows, and "Open Backups Folder…".
#include "window_test_support.h"
#include "window_user.h"

#include "app/send_backups.h"
#include "app/send_verification.h"
#include "device/scene_image.h"

#include <QProgressBar>
#include <QTemporaryDir>

using namespace lumo;
using namespace lumo::window_testing;

class TestSafeSend : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    // The settings and the backups of this run go to a home of its own (in Qt's test folders
    // there), so that no other test sees the checks switched off.
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME"))
            qputenv("XDG_CACHE_HOME", QDir::homePath().toUtf8() + "/.cache"); // the font cache stays
        qputenv("HOME", m_home.path().toUtf8());
    }

    void aWrongStoreIsAWarningAndTheBackupIsKept()
    {
        SceneSet held;
        SetSceneName(held.scene(3), "HELD");
        SimulatedController device(held);
        device.controller.misbehaviour().wrongStoreAt = 500;
        auto window = MakeWindow(&device.ports);
        const QStringList before = SendBackupNames();
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QList<int> percents;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) { percents << value; });

        ModalScript script;
        script.press("Yes").press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+T"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.size(), 2);
        QCOMPARE(script.boxes[0].text, QStringLiteral("Are you sure to send data?"));
        QCOMPARE(script.boxes[1].title, QStringLiteral("Warning"));
        QCOMPARE(script.boxes[1].icon, QMessageBox::Warning);
        ImageBuffer sent{};
        PackSceneImage(window->document().scenes(), sent.data());
        const QStringList differences = SceneImageDifferences(sent, device.controller.image());
        QCOMPARE(differences.size(), 1);
        QCOMPARE(script.boxes[1].text, VerificationWarningText(differences));
        QCOMPARE(device.controller.readsCompleted(), 2);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QCOMPARE(percents.last(), 100);
        QVERIFY(!bar->isVisible());

        const QStringList after = SendBackupNames();
        QCOMPARE(after.size(), before.size() + 1);
        SceneSet backedUp;
        QVERIFY(LoadSceneFile(SendBackupFolder() + "/" + after.last(), backedUp).ok());
        QCOMPARE(QByteArray(SceneName(backedUp.scene(3)).c_str()), QByteArray("HELD"));
    }

    void theChecksAreRememberedAndOffMeansThePlainSend()
    {
        SceneSet held;
        SimulatedController device(held);
        device.controller.misbehaviour().wrongStoreAt = 500;
        {
            auto window = MakeWindow(&device.ports);
            for (const char* name : {"BackUpBeforeSend1", "VerifyAfterSend1"}) {
                auto* check = window->findChild<QAction*>(QString::fromLatin1(name));
                QVERIFY(check->isCheckable() && check->isChecked());
                check->trigger();
            }
        }
        auto window = MakeWindow(&device.ports);
        QVERIFY(!window->findChild<QAction*>(QStringLiteral("BackUpBeforeSend1"))->isChecked());
        QVERIFY(!window->findChild<QAction*>(QStringLiteral("VerifyAfterSend1"))->isChecked());
        ModalScript script;
        script.press("Yes").press("OK");
        pressKeys(window.get(), QKeySequence("Ctrl+T"));
        QCOMPARE(script.boxes.value(1).text, QStringLiteral("Send data OK."));
        QCOMPARE(device.controller.readsCompleted(), 0);
        for (const char* name : {"BackUpBeforeSend1", "VerifyAfterSend1"})
            window->findChild<QAction*>(QString::fromLatin1(name))->setChecked(true);
    }

    void openBackupsFolderAsksToSaveThenOpensThere()
    {
        auto window = MakeWindow();
        SceneSet stored;
        SetSceneName(stored.scene(1), "BACKUP");
        const SendBackupResult backup = StoreSendBackup(stored);
        QVERIFY(backup.ok());
        MakeUnsavedEdit(window->document());

        ModalScript script;
        QString openedIn;
        script.press("No").then([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            openedIn = dialog->directory().absolutePath();
            dialog->selectFile(backup.path);
            QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
        });
        window->findChild<QAction*>(QStringLiteral("OpenBackupsFolder1"))->trigger();
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.value(0).text, QStringLiteral("Do you want to save changes?"));
        QCOMPARE(openedIn, QDir(SendBackupFolder()).absolutePath());
        QCOMPARE(QByteArray(SceneName(window->document().scenes().scene(1)).c_str()), QByteArray("BACKUP"));
    }
};

QTEST_MAIN(TestSafeSend)
#include "tst_safe_send.moc"
