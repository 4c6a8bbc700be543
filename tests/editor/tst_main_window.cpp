// The main window as the user meets it: start-up state, layout, menus and shortcuts, the File
// commands through real message boxes and file dialogs, the close question, the transfers
// against the simulated controller, and the About window.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/about.h"
#include "editor/control_area.h"
#include "editor/number_editor.h"
#include "editor/split_arrow_button.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

SceneSet defaultScenes(const TFormMain& window)
{
    SceneSet scenes;
    ApplyDefaults(window.parameterFiles().defaults, scenes);
    return scenes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray rawScenes(const SceneSet& scenes)
{
    const auto bytes = scenes.toBytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Window shortcuts reach only the active window; a dialog that just closed may still hold
// the activation on the offscreen platform.
void press(QWidget* widget, const QKeySequence& keys)
{
    widget->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(widget->window()));
    QTest::keySequence(widget, keys);
    waitForCommand(widget);
}

// Every percentage ProgressBar1 showed, and whether it was visible when it did.
struct ProgressLog {
    explicit ProgressLog(TFormMain& window)
        : bar(window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1")))
    {
        QObject::connect(bar, &QProgressBar::valueChanged, bar, [this](int value) {
            values << value;
            allVisible = allVisible && bar->isVisible();
        });
    }
    QProgressBar* bar;
    QList<int> values;
    bool allVisible = true;
};

void verifyRise(const ProgressLog& log)
{
    QVERIFY(!log.values.isEmpty());
    QCOMPARE(log.values.first(), 1);
    QCOMPARE(log.values.last(), 100);
    QVERIFY(std::is_sorted(log.values.begin(), log.values.end()));
    QVERIFY(log.allVisible);
    QVERIFY(!log.bar->isVisible());
}

// The size of a native window when it is shown, that is, mapped.
struct SizeWhenShown : QObject {
    QSize size;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && size.isEmpty()) size = static_cast<QWindow*>(watched)->size();
        return false;
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpState()
    {
        auto window = MakeWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("CTL_614"));
        QCOMPARE(window->client()->size(), QSize(792, 546));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(window->client()->palette().color(QPalette::Window), QColor(0, 128, 192));
        QCOMPARE(window->font().family(), QStringLiteral("Arial"));
        QCOMPARE(window->font().pixelSize(), 14);

        QVERIFY(!window->document().modified());
        QCOMPARE(window->document().currentScene(), 1);
        QVERIFY(window->document().fileName().isEmpty());
        QVERIFY(window->document().scenes() == defaultScenes(*window));
        QCOMPARE(window->controls().selectedIndex(), 0);
        QCOMPARE(window->controls().displayMode(), 2);
        QCOMPARE(window->findChild<QComboBox*>(QStringLiteral("SelDisp"))->currentText(),
                 QStringLiteral("CC/Note Number"));
        QVERIFY(window->findChild<QWidget*>(QStringLiteral("PanelCommon"))->isVisible());
        for (int number = 31; number <= 75; ++number) {
            auto* label = window->findChild<QLabel*>(QStringLiteral("Label%1").arg(number));
            QVERIFY(label && label->isVisible());
            QVERIFY2(!label->autoFillBackground(), qPrintable(label->objectName())); // not highlighted
        }
        QVERIFY(window->findChild<QWidget*>(QStringLiteral("SelectFrame"))->x() < 0);
        // The scene buttons show the scene names of the defaults.
        QCOMPARE(window->findChild<QAbstractButton*>(QStringLiteral("SceneButton1"))->text(),
                 QString::fromStdString(SceneName(window->document().scenes().scene(1))));

        auto* picture = window->findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(picture);
        QCOMPARE(picture->geometry(), QRect(38, 26, 713, 306));
        QVERIFY(!picture->pixmap().isNull());
        // Back to front: the picture is the client's first child, the progress bar above it.
        QCOMPARE(window->client()->children().first(), picture);
        QCOMPARE(window->findChild<QWidget*>(QStringLiteral("Shape1"))->geometry(), QRect(25, 333, 742, 209));
        auto* title = window->findChild<QLabel*>(QStringLiteral("LabelControl"));
        QCOMPARE(title->text(), QStringLiteral("CONTROL"));
        QCOMPARE(title->geometry(), QRect(46, 334, 100, 23));
        QVERIFY(title->font().bold());
        QCOMPARE(title->font().pixelSize(), 20);
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QCOMPARE(bar->geometry(), QRect(46, 173, 697, 16));
        QVERIFY(!bar->isVisible());
        QCOMPARE(bar->value(), 0);
    }

    void theFirstShowMapsTheWindowAtItsSizeAndFillsItBeforeItReturns()
    {
        QStandardPaths::setTestModeEnabled(true);
        TFormMain window(QStringLiteral(LUMO_ASSETS_DIR));
        window.winId();
        SizeWhenShown shown;
        window.windowHandle()->installEventFilter(&shown);
        window.show();
        QCOMPARE(shown.size, window.size());
        QCOMPARE(window.client()->size(), QSize(792, 546));
        QVERIFY(window.client()->isVisible());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label31"))->text(), QStringLiteral("Global"));
    }

    void missingParameterFilesAreReportedThenBuiltInsUsed()
    {
        QTemporaryDir empty;
        ModalScript script;
        script.press("OK");
        TFormMain window(empty.path());
        window.show();
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(script.boxes.size(), 1);
        QVERIFY2(script.boxes[0].text.startsWith("Cannot open file \"" + empty.filePath("DefPara.ini")),
                 qPrintable(script.boxes[0].text));
        QCOMPARE(script.boxes[0].icon, QMessageBox::Critical);
        // The window goes on with the shipped lists compiled into the program.
        SceneSet builtIn;
        ApplyDefaults(BuiltInParameterFiles().defaults, builtIn);
        QVERIFY(window.document().scenes() == builtIn);
        QVERIFY(!window.document().modified());
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("SelDisp"))->currentText(), QStringLiteral("CC/Note Number"));
    }

    void centring_data()
    {
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("wide screen") << QRect(0, 0, 1280, 760) << QSize(800, 600) << QPoint(240, 80);
        QTest::newRow("odd remainder rounds down") << QRect(0, 0, 1001, 703) << QSize(800, 600) << QPoint(100, 51);
        QTest::newRow("task bar on the left") << QRect(40, 0, 1240, 800) << QSize(800, 600) << QPoint(260, 100);
        QTest::newRow("smaller than the window") << QRect(10, 20, 640, 480) << QSize(800, 600) << QPoint(10, 20);
    }
    void centring()
    {
        QFETCH(QRect, workArea);
        QFETCH(QSize, outer);
        QFETCH(QPoint, expected);
        QCOMPARE(TFormMain::CentredPosition(workArea, outer), expected);
    }

    // The offscreen platform gives windows a frame of its own, known once the window shows.
    void placedByItsOuterSizeOnceTheFrameIsKnown()
    {
        auto window = MakeWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect outer = window->frameGeometry();
        QVERIFY(outer.size() != window->geometry().size());
        const QRect workArea = window->screen()->availableGeometry();
        QCOMPARE(outer.topLeft(), TFormMain::CentredPosition(workArea, outer.size()));
        QVERIFY(outer.top() >= workArea.top()); // the title bar stays on the screen
    }

    // Common window managers put an icon and up to three buttons beside the title.
    void messageBoxesShowTheirTitleWhole()
    {
        QFont titleFont = QApplication::font();
        titleFont.setBold(true);
        QStringList titles;
        ModalScript script;
        auto check = [&](QWidget* box) {
            QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
            titles << box->windowTitle();
            QVERIFY(box->width() >= QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + 150);
        };
        script.then(check).then(check).then(check);
        MessageBoxes boxes;
        boxes.tell(MessageKind::Information, QStringLiteral("Send data OK."));
        boxes.ask(MessageKind::Confirm, QStringLiteral("Are you sure to send data?"));
        boxes.showError(QStringLiteral("Disk full."));
        QCOMPARE(titles, QStringList({"Information", "Confirm", "Vorel Lumo"}));
    }

    void menuBar()
    {
        auto window = MakeWindow();
        struct Item {
            QString menu, text, name;
            QKeySequence keys;
        };
        const QList<Item> expected = {
            {"File", "New", "New1", QKeySequence("Ctrl+N")},
            {"File", "Open", "Open1", QKeySequence("Ctrl+O")},
            {"File", "Open Recent", "OpenRecent1", QKeySequence()},
            {"File", "Save", "Save1", QKeySequence("Ctrl+S")},
            {"File", "Save as", "Saveas1", QKeySequence("Ctrl+Alt+S")},
            {"File", "Export Picture\u2026", "ExportPicture1", QKeySequence()},
            {"File", "", "", QKeySequence()},
            {"File", "Quit", "Quit1", QKeySequence("Ctrl+Q")},
            {"Edit", "Undo", "Undo1", QKeySequence("Ctrl+Z")},
            {"Edit", "Redo", "Redo1", QKeySequence("Ctrl+Shift+Z")},
            {"Edit", "", "", QKeySequence()},
            {"Edit", "&Copy", "Copy1", QKeySequence("Ctrl+C")},
            {"Edit", "Paste", "Peast1", QKeySequence("Ctrl+V")},
            {"Edit", "Copy Scene", "CopyScene1", QKeySequence("Ctrl+Shift+C")},
            {"Edit", "Paste Scene", "PasteScene1", QKeySequence("Ctrl+Shift+V")},
            {"Edit", "", "", QKeySequence()},
            {"Edit", "Check Assignments", "CheckAssignments1", QKeySequence("Ctrl+K")},
            {"Communication", "Read Scene Data", "ReadSceneData1", QKeySequence("Ctrl+L")},
            {"Communication", "Send Scene Data", "SendSceneData1", QKeySequence("Ctrl+T")},
            {"Communication", "Compare With Controller", "CompareWithController1", QKeySequence()},
            {"Communication", "", "", QKeySequence()},
            {"Communication", "Follow Controller", "FollowController1", QKeySequence("Ctrl+F")},
            {"Communication", "", "", QKeySequence()},
            {"Communication", "Back Up Before Send", "BackUpBeforeSend1", QKeySequence()},
            {"Communication", "Verify After Send", "VerifyAfterSend1", QKeySequence()},
            {"Communication", "Open Backups Folder\u2026", "OpenBackupsFolder1", QKeySequence()},
            {"Communication", "", "", QKeySequence()},
            {"Communication", "Controller", "", QKeySequence()}, // the submenu
            {"Help", "About", "About1", QKeySequence("Ctrl+H")},
        };
        QList<Item> actual;
        for (QAction* menuAction : window->menuBar()->actions()) {
            QVERIFY(menuAction->isEnabled());
            for (QAction* action : menuAction->menu()->actions()) {
                // Only Undo and Redo are ever disabled: nothing to undo or redo at start.
                const bool undoOrRedo = action->objectName() == "Undo1" || action->objectName() == "Redo1";
                QVERIFY2(action->isEnabled() != undoOrRedo && action->isVisible(), qPrintable(action->text()));
                if (action->isSeparator())
                    actual.append({menuAction->text(), "", "", QKeySequence()});
                else
                    actual.append({menuAction->text(), action->text(), action->objectName(), action->shortcut()});
            }
        }
        QCOMPARE(actual.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(actual[i].menu, expected[i].menu);
            QCOMPARE(actual[i].text, expected[i].text);
            QCOMPARE(actual[i].name, expected[i].name);
            QCOMPARE(actual[i].keys, expected[i].keys);
        }
    }

    void everyShortcutReachesItsHandler()
    {
        SimulatedPorts noPorts;
        auto window = MakeWindow(&noPorts);
        QMap<QString, int> runs;
        for (QAction* action : window->findChildren<QAction*>())
            if (!action->objectName().isEmpty())
                connect(action, &QAction::triggered, this, [&runs, action] { ++runs[action->objectName()]; });

        ModalScript script;
        script.choose(QString())                                  // Open: cancelled
            .choose(QString())                                    // Save runs Save as: cancelled
            .choose(QString())                                    // Save as: cancelled
            .press("OK")                                          // Read: no controller
            .press("OK")                                          // Send: no controller
            .press("OK")                                          // Follow: no controller
            .then([](QWidget* about) { QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(10, 10)); });
        press(window.get(), QKeySequence("Ctrl+N"));
        press(window.get(), QKeySequence("Ctrl+O"));
        press(window.get(), QKeySequence("Ctrl+S"));
        press(window.get(), QKeySequence("Ctrl+Alt+S"));
        press(window.get(), QKeySequence("Ctrl+L"));
        press(window.get(), QKeySequence("Ctrl+T"));
        press(window.get(), QKeySequence("Ctrl+F"));
        press(window.get(), QKeySequence("Ctrl+H"));
        // The menu shortcuts win over a focused text field.
        auto* field = new QLineEdit(QStringLiteral("text"), window->client());
        field->setGeometry(300, 400, 100, 24);
        field->show();
        field->setFocus();
        press(field, QKeySequence("Ctrl+C"));
        press(field, QKeySequence("Ctrl+V"));
        QCOMPARE(field->text(), QStringLiteral("text"));
        press(window.get(), QKeySequence("Ctrl+Q"));

        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        for (const char* name : {"New1", "Open1", "Save1", "Saveas1", "Quit1", "Copy1", "Peast1",
                                    "ReadSceneData1", "SendSceneData1", "FollowController1", "About1"})
            QVERIFY2(runs.value(QString::fromLatin1(name)) == 1, name);
        QCOMPARE(script.boxes.value(2).text, QStringLiteral("Vorel Lumo Device is not exist.\n(no controller among 0 port pairs)"));
        QVERIFY(!window->findChild<QAction*>(QStringLiteral("FollowController1"))->isChecked());
        QCOMPARE(script.dialogs, QStringList({"OpenDialog", "SaveDialog", "SaveDialog"}));
        QVERIFY(!window->isVisible()); // Quit with nothing to save closes at once
    }

    // "New" and "Open" ask the save question of "Quit" before they replace unsaved edits:
    // Cancel, or Yes with the save dialog cancelled, leaves the scenes as they were.
    void newAndOpenAskBeforeReplacingUnsavedEdits()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        window->document().edit([](SceneSet& s) { SetSceneName(s.scene(3), "EDITED"); });
        window->document().edit([](SceneSet& s) { s.scene(4).KeyTrans = 20; });
        const SceneSet edited = window->document().scenes();
        ModalScript script;
        script.press("Cancel");
        press(window.get(), QKeySequence("Ctrl+N"));
        script.press("Yes").choose(QString());
        press(window.get(), QKeySequence("Ctrl+O"));
        QVERIFY(window->document().scenes() == edited);
        QVERIFY(window->document().modified());
        QCOMPARE(script.dialogs, QStringList({"SaveDialog"}));

        script.press("No");
        press(window.get(), QKeySequence("Ctrl+N"));
        QVERIFY2(script.finished() && script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.size(), 3);
        for (const SeenBox& box : script.boxes) QCOMPARE(box.text, QStringLiteral("Do you want to save changes?"));
        QVERIFY(window->document().scenes() == defaultScenes(*window));
        QVERIFY(window->document().fileName().isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("CTL_614"));

        // Yes saves first; then the open dialog follows.
        writeBytes(dir.filePath("other.lumo"), rawScenes(edited));
        script.press("Yes").choose(dir.filePath("saved.lumo")).choose(dir.filePath("other.lumo"));
        press(window.get(), QKeySequence("Ctrl+O"));
        QVERIFY2(script.finished() && script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(fileBytes(dir.filePath("saved.lumo")), rawScenes(defaultScenes(*window)));
        QVERIFY(window->document().scenes() == edited);
    }

    // Clicking through scenes and controls after a save stores only what the records hold,
    // so "Quit" has nothing to ask.
    void refillsAfterASaveLeaveNothingToSave()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        MakeUnsavedEdit(window->document());
        ModalScript script;
        script.choose(dir.filePath("saved.lumo"));
        press(window.get(), QKeySequence("Ctrl+Alt+S"));
        QVERIFY(!window->document().modified());
        for (int scene : {2, 4, 1}) clickScene(*window, scene);
        QVERIFY(!window->document().modified());
        press(window.get(), QKeySequence("Ctrl+Q"));
        QVERIFY2(script.finished() && script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.size(), 0);
        QVERIFY(!window->isVisible());
    }

    void openReportsFileErrors()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        const SceneSet before = window->document().scenes();
        writeBytes(dir.filePath("short.lumo"), QByteArray(1000, '\x01'));

        ModalScript script;
        script.choose(dir.filePath("missing.lumo")).press("OK");
        press(window.get(), QKeySequence("Ctrl+O"));
        script.choose(dir.filePath("short.lumo")).press("OK");
        press(window.get(), QKeySequence("Ctrl+O"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        QCOMPARE(script.boxes.size(), 2);
        QCOMPARE(script.boxes[0].text, QStringLiteral("File not found."));
        QCOMPARE(script.boxes[1].text, QStringLiteral("Read beyond end of file."));
        for (const SeenBox& box : script.boxes) {
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.title, QStringLiteral("Vorel Lumo"));
            QCOMPARE(box.buttons, QStringList({"OK"}));
        }
        QVERIFY(window->document().scenes() == before);
        QVERIFY(!window->document().modified());
    }

    void openLoadsTheFourScenes()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        SceneSet other = window->document().scenes();
        SetSceneName(other.scene(2), "FROM FILE");
        other.scene(4).PadCCNumber[7] = 61;
        // Bytes after the fourth record are ignored.
        writeBytes(dir.filePath("set.lumo"), rawScenes(other) + QByteArray(64, '\x7f'));
        ModalScript script;
        script.choose(dir.filePath("set.lumo"));
        press(window.get(), QKeySequence("Ctrl+O"));
        QVERIFY(script.finished() && script.boxes.isEmpty());
        QVERIFY(window->document().scenes() == other);
        // Redisplayed: the scene buttons show the loaded names.
        QCOMPARE(window->findChild<QAbstractButton*>(QStringLiteral("SceneButton2"))->text(), QStringLiteral("FROM FILE"));
        QVERIFY(window->document().fileName().isEmpty()); // Open does not set the save target
        QCOMPARE(window->windowTitle(), QStringLiteral("CTL_614"));
    }

    void saveAsProposesTheDatedNameThenSaveWritesThere()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        const QString path = dir.filePath("live.lumo");
        ModalScript script;
        script.choose(path);
        press(window.get(), QKeySequence("Ctrl+S")); // no file name yet: runs Save as
        QVERIFY(script.finished());
        QCOMPARE(QFileInfo(script.dialogFiles.value(0)).fileName(), QStringLiteral("scene2612072105.lumo"));
        QCOMPARE(fileBytes(path), rawScenes(window->document().scenes()));
        QCOMPARE(window->document().fileName(), path);

        // Save now writes to that name without a dialog.
        window->document().edit([](SceneSet& s) { SetSceneName(s.scene(1), "SECOND"); });
        press(window.get(), QKeySequence("Ctrl+S"));
        QVERIFY(script.boxes.isEmpty() && script.unexpected.isEmpty());
        QCOMPARE(fileBytes(path), rawScenes(window->document().scenes()));

        // Save as onto an existing file asks before replacing it; No leaves it alone.
        const QByteArray saved = fileBytes(path);
        window->document().edit([](SceneSet& s) { SetSceneName(s.scene(1), "THIRD"); });
        script.choose(path).press("No").choose(QString());
        press(window.get(), QKeySequence("Ctrl+Alt+S"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        QVERIFY(script.boxes.value(0).text.contains("already exists"));
        QCOMPARE(fileBytes(path), saved);
        QCOMPARE(window->windowTitle(), QStringLiteral("CTL_614"));
    }

    void quitAsksOnlyWithUnsavedChanges()
    {
        auto window = MakeWindow();
        MakeUnsavedEdit(window->document());
        ModalScript script;
        script.press("Cancel");
        press(window.get(), QKeySequence("Ctrl+Q"));
        QVERIFY(window->isVisible());
        QCOMPARE(script.boxes.size(), 1);
        QCOMPARE(script.boxes[0].text, QStringLiteral("Do you want to save changes?"));
        QCOMPARE(script.boxes[0].title, QStringLiteral("Warning"));
        QCOMPARE(script.boxes[0].icon, QMessageBox::Warning);
        QStringList buttons = script.boxes[0].buttons;
        buttons.sort();
        QCOMPARE(buttons, QStringList({"&No", "&Yes", "Cancel"}));

        script.press("No");
        press(window.get(), QKeySequence("Ctrl+Q"));
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QVERIFY(!window->isVisible());
    }

    void quitYesSavesThenCloses()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        MakeUnsavedEdit(window->document());
        ModalScript script;
        script.press("Yes").choose(dir.filePath("kept.lumo"));
        press(window.get(), QKeySequence("Ctrl+Q"));
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QVERIFY(!window->isVisible());
        QCOMPARE(fileBytes(dir.filePath("kept.lumo")).size(), 3536);
    }

    void closeButtonAsksLikeQuit()
    {
        QTemporaryDir dir;
        auto window = MakeWindow();
        QVERIFY(window->close()); // nothing to save: closes without a word
        window->show();

        MakeUnsavedEdit(window->document());
        ModalScript script;
        script.press("Cancel");
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(script.boxes.value(0).text, QStringLiteral("Do you want to save changes?"));

        script.press("Yes").choose(dir.filePath("closing.lumo"));
        QVERIFY(window->close());
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(fileBytes(dir.filePath("closing.lumo")), rawScenes(window->document().scenes()));
    }

    void sendToTheSimulatedController()
    {
        SceneSet other;
        {
            auto probe = MakeWindow();
            other = defaultScenes(*probe);
        }
        SetSceneName(other.scene(1), "OLD");
        SimulatedController device(other);
        auto window = MakeWindow(&device.ports);
        window->document().edit([](SceneSet& s) { SetSceneName(s.scene(1), "EDITED"); });

        ProgressLog log(*window);
        bool inputTried = false;
        // Input during the transfer must not act: Ctrl+N would restore the defaults.
        connect(log.bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 50 && !inputTried) {
                inputTried = true;
                press(window.get(), QKeySequence("Ctrl+N"));
            }
        });
        ModalScript script;
        script.press("Yes").press("OK");
        press(window.get(), QKeySequence("Ctrl+T"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        QCOMPARE(script.boxes[0].text, QStringLiteral("Are you sure to send data?"));
        QCOMPARE(script.boxes[0].title, QStringLiteral("Confirm"));
        QCOMPARE(script.boxes[0].icon, QMessageBox::Question);
        QCOMPARE(script.boxes[1].text, QStringLiteral("Send data OK."));
        QCOMPARE(script.boxes[1].title, QStringLiteral("Information"));
        QCOMPARE(script.boxes[1].icon, QMessageBox::Information);
        QCOMPARE(script.boxes[1].buttons, QStringList({"OK"}));
        verifyRise(log);
        QVERIFY(inputTried);
        QCOMPARE(device.controller.sendsCompleted(), 1);
        // The device image carries all 12 name bytes, so the name comes back padded with zeros.
        QCOMPARE(QByteArray(SceneName(device.controller.scenes().scene(1)).c_str()), QByteArray("EDITED"));
        QCOMPARE(SceneName(window->document().scenes().scene(1)), std::string("EDITED"));
        QVERIFY(window->document().modified()); // sending does not save
        QVERIFY(window->isEnabled());
    }

    void readFromTheSimulatedController()
    {
        SceneSet deviceScenes;
        {
            auto probe = MakeWindow();
            deviceScenes = defaultScenes(*probe);
        }
        SetSceneName(deviceScenes.scene(2), "ON DEVICE");
        deviceScenes.scene(3).MIDICh[1] = 9;
        SimulatedController device(deviceScenes);
        auto window = MakeWindow(&device.ports);
        MakeUnsavedEdit(window->document());

        ProgressLog log(*window);
        ModalScript script;
        script.press("No").press("Yes").press("OK");
        press(window.get(), QKeySequence("Ctrl+L"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(script.finished());
        QCOMPARE(script.boxes[0].text, QStringLiteral("Do you want to save changes?"));
        QCOMPARE(script.boxes[1].text, QStringLiteral("Are you sure to read data from device?"));
        QCOMPARE(script.boxes[1].title, QStringLiteral("Confirm"));
        QCOMPARE(script.boxes[2].text, QStringLiteral("Read data OK."));
        verifyRise(log);
        QCOMPARE(QByteArray(SceneName(window->document().scenes().scene(2)).c_str()), QByteArray("ON DEVICE"));
        QCOMPARE(window->document().scenes().scene(3).MIDICh[1], 9);
        QVERIFY(!window->document().modified());
        QCOMPARE(device.controller.readsCompleted(), 1);
    }

    void aFailedSendWarnsOnceAndHidesTheBar()
    {
        SceneSet scenes;
        SimulatedController device(scenes);
        device.controller.misbehaviour().wrongAcknowledgeAfterBlock = 0;
        auto window = MakeWindow(&device.ports);
        ProgressLog log(*window);
        ModalScript script;
        script.press("Yes").press("OK");
        press(window.get(), QKeySequence("Ctrl+T"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.size(), 2); // the confirmation, then one warning: no "Send data OK."
        QCOMPARE(script.boxes[1].title, QStringLiteral("Warning"));
        QVERIFY(script.boxes[1].text.endsWith(QStringLiteral("may now hold a partly written scene image.")));
        QCOMPARE(log.values.last(), 50); // stopped after the first of two blocks
        QVERIFY(!log.bar->isVisible());
        QCOMPARE(device.controller.sendsCompleted(), 0);
    }

    // During a read the client area and the menus take no input; Esc stops it, the scenes stay.
    void escCancelsAReadAndTheWindowIsDisabledMeanwhile()
    {
        SceneSet scenes;
        SimulatedController device(scenes);
        // Silent after 300 bytes: only the cancel ends the wait for byte 300 before its long bound.
        device.controller.misbehaviour().silentAfterBytes = 300;
        auto window = MakeWindow(&device.ports);
        window->deviceLink()->setReplyTimeout(std::chrono::seconds(30));
        const SceneSet before = window->document().scenes();
        ProgressLog log(*window);
        bool disabledMeanwhile = false;
        connect(log.bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 20 && !disabledMeanwhile) {
                disabledMeanwhile = !window->client()->isEnabled() && !window->menuBar()->isEnabled()
                                    && !window->findChild<QAction*>(QStringLiteral("New1"))->isEnabled();
                press(window.get(), QKeySequence(Qt::Key_Escape));
            }
        });
        ModalScript script;
        script.press("Yes").press("OK");
        QTest::keySequence(window.get(), QKeySequence("Ctrl+L"));
        // The command goes on from the event loop: the key's handler has returned.
        QVERIFY(window->transferRunning());
        waitForCommand(window.get());
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QVERIFY(disabledMeanwhile);
        QCOMPARE(script.boxes.value(1).text, QStringLiteral("The read was cancelled. The scenes are unchanged."));
        QVERIFY(window->document().scenes() == before);
        QVERIFY(window->client()->isEnabled());
        QCOMPARE(device.controller.readsCompleted(), 0);
    }

    // An arrow held down when a transfer starts stops repeating: disabling the client area ends
    // the press, so no release is lost and no step comes after the transfer.
    void anArrowHeldWhenATransferStartsStopsRepeating()
    {
        SceneSet scenes;
        SimulatedController device(scenes);
        auto window = MakeWindow(&device.ports);
        SplitArrowButton* arrows = window->findChild<NumberEditor*>(QStringLiteral("EditKeyTrans"))->arrows();
        QTest::mousePress(arrows, Qt::LeftButton, {}, QPoint(1, 1));
        const int held = window->document().current().KeyTrans;
        window->document().markClean();
        ModalScript script;
        script.press("Yes").press("OK");
        press(window.get(), QKeySequence("Ctrl+T"));
        QVERIFY(script.finished());
        QVERIFY(!arrows->findChild<QTimer*>(QStringLiteral("RepeatTimer"))->isActive());
        QTest::qWait(SplitArrowButton::kFirstRepeatMs + 50);
        QCOMPARE(window->document().current().KeyTrans, held);
        QVERIFY(!window->document().modified());
    }

    // The close button during a transfer stops it, then closes the window.
    void closingDuringASendCancelsThenCloses()
    {
        SceneSet scenes;
        SimulatedController device(scenes);
        // No block acknowledgement: only the cancel ends the wait for it before its long bound.
        device.controller.misbehaviour().silentAfterBytes = 300;
        auto window = MakeWindow(&device.ports);
        window->deviceLink()->setReplyTimeout(std::chrono::seconds(30));
        // The plain send: the backup read would meet the same silence.
        const QList<QAction*> checks = {window->findChild<QAction*>(QStringLiteral("BackUpBeforeSend1")),
                                        window->findChild<QAction*>(QStringLiteral("VerifyAfterSend1"))};
        for (QAction* check : checks)
            check->setChecked(false);
        ProgressLog log(*window);
        bool closeTried = false;
        connect(log.bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 20 && !closeTried) {
                closeTried = true;
                QVERIFY(!window->close());
            }
        });
        ModalScript script;
        script.press("Yes").press("OK");
        press(window.get(), QKeySequence("Ctrl+T"));
        QVERIFY(closeTried);
        QVERIFY(script.boxes.value(1).text.startsWith(QStringLiteral("The send was cancelled.")));
        QVERIFY(!window->isVisible());
        for (QAction* check : checks)
            check->setChecked(true);
    }

    void nothingAnswers()
    {
        SimulatedPorts silent;
        for (const char* name : {"Some Synth", "Midi Through"}) {
            silent.addOutput(name, -1);
            silent.addInput(name, -1);
        }
        silent.addInput("Keyboard", -1);
        auto window = MakeWindow(&silent);
        window->deviceLink()->setReplyTimeout(std::chrono::milliseconds(20));
        window->deviceLink()->setHandshakeWait(std::chrono::milliseconds(20));
        const SceneSet before = window->document().scenes();
        ModalScript script;
        script.press("OK").press("OK");
        press(window.get(), QKeySequence("Ctrl+T"));
        press(window.get(), QKeySequence("Ctrl+L"));
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.size(), 2);
        for (const SeenBox& box : script.boxes) {
            // The reason on a second line, as `lumo` gives it.
            QCOMPARE(box.text, QStringLiteral("Vorel Lumo Device is not exist.\n(no controller among 6 port pairs)"));
            QCOMPARE(box.title, QStringLiteral("Warning"));
            QCOMPARE(box.icon, QMessageBox::Warning);
        }
        QVERIFY(window->document().scenes() == before);
        QVERIFY(!window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->isVisible());
    }

    void aboutOpensOnCtrlHAndClosesOnAClick()
    {
        auto window = MakeWindow();
        const SceneSet before = window->document().scenes();
        bool checked = false;
        ModalScript script;
        script.then([&](QWidget* w) {
            auto* about = qobject_cast<TFormAbout*>(w);
            QVERIFY(about);
            QCOMPARE(about->size(), QSize(492, 388));
            QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(about->windowTitle(), QStringLiteral("About Vorel Lumo"));
            auto* picture = about->findChild<QLabel*>(QStringLiteral("Image1"));
            QVERIFY(picture);
            QCOMPARE(picture->geometry(), QRect(74, 14, 367, 167));
            QVERIFY(!picture->pixmap().isNull());
            QVERIFY((about->geometry().center() - window->frameGeometry().center()).manhattanLength() <= 2);
            checked = true;
            // A click on the picture closes the window.
            QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(200, 100));
        });
        press(window.get(), QKeySequence("Ctrl+H"));
        QVERIFY(checked);
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(window->document().scenes() == before);
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
