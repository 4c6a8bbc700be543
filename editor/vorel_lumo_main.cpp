// TFormMain: the fixed 792 x 546 client area, its background elements, the menu bar and the
// commands that are not part of the control area.
#include "editor/vorel_lumo_main.h"
#include "app/settings_file.h"

#include "editor/about.h"
#include "editor/assignment_check_box.h"
#include "editor/comparison_box.h"
#include "editor/control_area.h"
#include "editor/follow_selection.h"
#include "editor/round_rect_shape.h"
#include "editor/transfer_progress_bar.h"
#include "editor/undo_steps.h"
#include "picture/jpeg_image.h"
#include "picture/picture_export.h"
#include "device/device_link.h"
#include "device/midi_system.h"
#include "app/assignment_check.h"
#include "app/controller_compare.h"
#include "app/file_commands.h"
#include "app/controller_listener.h"
#include "app/remembered_pair.h"
#include "app/send_backups.h"
#include "app/transfer_commands.h"
#include "app/transfer_thread.h"
#include "device/bounded_call.h"
#include "scene/scene_file.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace lumo {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 546;
const QColor kBackground(0, 128, 192);
// The desktop's inactive-caption and hot-light colours of the classic Windows scheme.
const QColor kInactiveCaption(191, 205, 219);
const QColor kHotLight(0, 102, 204);

// The window's settings, ~/.config/vorel-lumo/vorel-lumo.conf, as the file dialogs keep theirs.
SettingsFile editorSettings()
{
    return SettingsFile(QSettings::NativeFormat, QStringLiteral("vorel-lumo"));
}

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    return font;
}

} // namespace

// The MIDI system being opened on a bounded job; the job fills it in when the system answers,
// also after the window stopped waiting for it.
struct OpeningPorts {
    std::mutex mutex;
    std::condition_variable opened;
    std::unique_ptr<MidiPorts> ports;
    bool done = false;
};

QPoint TFormMain::CentredPosition(const QRect& workArea, const QSize& outerSize)
{
    return {workArea.left() + std::max(workArea.width() - outerSize.width(), 0) / 2,
            workArea.top() + std::max(workArea.height() - outerSize.height(), 0) / 2};
}

TFormMain::TFormMain(const QString& parameterFolder, MidiPorts* ports, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , m_answers(this)
    , m_ports(ports)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("CTL_614"));
    setFont(windowFont());

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("Client"));
    m_client->setFixedSize(kClientWidth, kClientHeight);
    QPalette background = m_client->palette();
    background.setColor(QPalette::Window, kBackground);
    m_client->setPalette(background);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // A first estimate without the frame, so that the window appears near its place; it is
    // placed again once the window system has given it its frame.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(CentredPosition(screen->availableGeometry(), sizeHint()));

    // The document needs the default list, so it is made right after the parameter files.
    m_files = LoadParameterFiles(parameterFolder);
    m_document = std::make_unique<DocumentSession>(m_files.defaults, m_answers);
    if (!m_files.error.isEmpty())
        m_answers.showError(m_files.error);

    buildBackground();
    // The control area lies over the picture and the rounded rectangle; the progress bar and
    // the "CONTROL" title are raised above it afterwards.
    m_controls = new ControlArea(m_client, *m_document, m_files.notes, this);
    m_progressBar->raise();
    m_client->findChild<QLabel*>(QStringLiteral("LabelControl"))->raise();
    m_document->setCurrentScene(1);
    m_undo = new UndoSteps(*m_document, *m_controls, m_client, this);
    connect(m_undo, &UndoSteps::availabilityChanged, this, &TFormMain::updateUndoCommands);
    updateUndoCommands();

    m_transfer = std::make_unique<TransferThread>();
    connect(m_transfer.get(), &TransferThread::progressChanged, this, &TFormMain::onProgress, Qt::QueuedConnection);
    connect(m_transfer.get(), &TransferThread::progressShown, m_progressBar, &QWidget::setVisible,
            Qt::QueuedConnection);
    // Esc stops a transfer; it is enabled only while one runs.
    m_cancelTransfer = new QAction(this);
    m_cancelTransfer->setObjectName(QStringLiteral("CancelTransfer"));
    m_cancelTransfer->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancelTransfer->setShortcutContext(Qt::WindowShortcut);
    m_cancelTransfer->setEnabled(false);
    connect(m_cancelTransfer, &QAction::triggered, this, &TFormMain::cancelTransfer);
    addAction(m_cancelTransfer);
    m_listener = std::make_unique<ControllerListener>();
    connect(m_listener.get(), &ControllerListener::received, this, &TFormMain::selectSender);
    // Ports given by the caller need no opening: the link is there from the start.
    if (m_ports)
        m_link = std::make_unique<DeviceLink>(*m_ports);
    qApp->installEventFilter(this);
}

TFormMain::~TFormMain()
{
    qApp->removeEventFilter(this);
    m_listener.reset();
    // It follows the document and the focus; both go before the child objects are deleted.
    delete m_undo;
    m_transfer.reset();
    m_link.reset();
}

void TFormMain::buildBackground()
{
    auto* picture = new QLabel(m_client);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(38, 26, 713, 306);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap::fromImage(LoadPicture(QStringLiteral(":/pictures/controller.jpg"))));

    auto* lower = new RoundRectShape(kInactiveCaption, m_client);
    lower->setObjectName(QStringLiteral("Shape1"));
    lower->setGeometry(25, 333, 742, 209);

    auto* title = new QLabel(QStringLiteral("CONTROL"), m_client);
    title->setObjectName(QStringLiteral("LabelControl"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPixelSize(20);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setGeometry(46, 334, 100, 23);
    title->setAttribute(Qt::WA_TranslucentBackground);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::black);
    title->setPalette(titlePalette);

    m_progressBar = new TransferProgressBar(kHotLight, m_client);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(46, 173, 697, 16);
    m_progressBar->setFont(windowFont());
    m_progressBar->hide();
}

QAction* TFormMain::addCommand(QMenu* menu, const QString& name, const QString& text,
                               const QKeySequence& shortcut, void (TFormMain::*handler)())
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // The shortcuts work wherever the focus is in this window, also while a menu is closed.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
    m_commands.append(action);
    return action;
}

QAction* TFormMain::addSetting(QMenu* menu, const QString& name, const QString& text, const QString& key)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(editorSettings().value(key, true).toBool());
    connect(action, &QAction::toggled, this, [key](bool checked) { editorSettings().setValue(key, checked); });
    m_commands.append(action);
    return action;
}

void TFormMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setNativeMenuBar(false);

    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommand(file, QStringLiteral("New1"), QStringLiteral("New"), QKeySequence(Qt::CTRL | Qt::Key_N), &TFormMain::newDocument);
    addCommand(file, QStringLiteral("Open1"), QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &TFormMain::openDocument);
    addCommand(file, QStringLiteral("Save1"), QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &TFormMain::saveDocument);
    addCommand(file, QStringLiteral("Saveas1"), QStringLiteral("Save as"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), &TFormMain::saveDocumentAs);
    addCommand(file, QStringLiteral("ExportPicture1"), QStringLiteral("Export Picture\u2026"), QKeySequence(), &TFormMain::exportPicture);
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    addCommand(file, QStringLiteral("Quit1"), QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &TFormMain::quit);

    QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    m_undoCommand = addCommand(edit, QStringLiteral("Undo1"), QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &TFormMain::undo);
    m_redoCommand = addCommand(edit, QStringLiteral("Redo1"), QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TFormMain::redo);
    m_redoCommand->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator()->setObjectName(QStringLiteral("N2"));
    addCommand(edit, QStringLiteral("Copy1"), QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &TFormMain::copyControl);
    addCommand(edit, QStringLiteral("Peast1"), QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), &TFormMain::pasteControl);
    addCommand(edit, QStringLiteral("CopyScene1"), QStringLiteral("Copy Scene"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &TFormMain::copyScene);
    addCommand(edit, QStringLiteral("PasteScene1"), QStringLiteral("Paste Scene"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), &TFormMain::pasteScene);
    edit->addSeparator();
    addCommand(edit, QStringLiteral("CheckAssignments1"), QStringLiteral("Check Assignments"), QKeySequence(Qt::CTRL | Qt::Key_K), &TFormMain::checkAssignments);

    QMenu* communication = bar->addMenu(QStringLiteral("Communication"));
    communication->setObjectName(QStringLiteral("Communication1"));
    addCommand(communication, QStringLiteral("ReadSceneData1"), QStringLiteral("Read Scene Data"), QKeySequence(Qt::CTRL | Qt::Key_L), &TFormMain::readSceneData);
    addCommand(communication, QStringLiteral("SendSceneData1"), QStringLiteral("Send Scene Data"), QKeySequence(Qt::CTRL | Qt::Key_T), &TFormMain::sendSceneData);
    addCommand(communication, QStringLiteral("CompareWithController1"), QStringLiteral("Compare With Controller"),
               QKeySequence(), &TFormMain::compareWithController);
    communication->addSeparator();
    m_followController = addCommand(communication, QStringLiteral("FollowController1"), QStringLiteral("Follow Controller"),
                                    QKeySequence(Qt::CTRL | Qt::Key_F), &TFormMain::followController);
    m_followController->setCheckable(true);
    communication->addSeparator()->setObjectName(QStringLiteral("N2"));
    m_backUpBeforeSend = addSetting(communication, QStringLiteral("BackUpBeforeSend1"),
                                    QStringLiteral("Back Up Before Send"), QStringLiteral("Send/BackUpBefore"));
    m_verifyAfterSend = addSetting(communication, QStringLiteral("VerifyAfterSend1"),
                                   QStringLiteral("Verify After Send"), QStringLiteral("Send/VerifyAfter"));
    addCommand(communication, QStringLiteral("OpenBackupsFolder1"), QStringLiteral("Open Backups Folder\u2026"),
               QKeySequence(), &TFormMain::openBackupsFolder);

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, QStringLiteral("About1"), QStringLiteral("About"), QKeySequence(Qt::CTRL | Qt::Key_H), &TFormMain::showAbout);
}

void TFormMain::placeOnScreen()
{
    if (QScreen* screen = this->screen())
        move(CentredPosition(screen->availableGeometry(), frameGeometry().size()));
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShowDone) {
        m_firstShowDone = true;
        fillScenesOnFirstShow();
    }
}

void TFormMain::fillScenesOnFirstShow()
{
    SceneSet defaults = m_document->scenes();
    ApplyDefaults(m_document->defaults(), defaults);
    m_document->replaceScenes(defaults);
    m_controls->selectSceneFromButtons();
    // Showing "Common" fills editors whose change handlers set the flag.
    m_document->markClean();
    m_controls->moveFrameOffWindow();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // During a transfer: stop it, and close once its command has ended.
    if (transferRunning()) {
        m_closeAfterTransfer = true;
        cancelTransfer();
        event->ignore();
        return;
    }
    // Closing by the close button, the system menu or Alt+F4 offers to save exactly as "Quit".
    if (m_quitApproved || OfferToSave(*m_document))
        event->accept();
    else
        event->ignore();
}

bool TFormMain::isCommandShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* action : std::as_const(m_commands))
        for (const QKeySequence& shortcut : action->shortcuts())
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch) return true;
    return false;
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    // The frame is known by the first expose; a move before it would centre the inner window
    // and could push the title bar above a small screen.
    if (!m_placed && event->type() == QEvent::Expose && watched == windowHandle()) {
        m_placed = true;
        placeOnScreen();
    }
    // The menu shortcuts win over the focused editor: a text field would otherwise claim
    // Ctrl+C / Ctrl+V (and others) for itself through the shortcut override. A key press of
    // a shortcut arrives only while its command is disabled ("Undo", "Redo"); it must not
    // reach the field either, whose own Ctrl+Z would change the text behind the history.
    const bool shortcutOverride = event->type() == QEvent::ShortcutOverride;
    if (shortcutOverride || event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && isCommandShortcut(*static_cast<QKeyEvent*>(event))) {
            event->setAccepted(!shortcutOverride);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::newDocument()
{
    m_undo->runAsOneStep([this] {
        if (NewDocument(*m_document))
            m_controls->showSelectedControl();
    });
}

void TFormMain::openDocument()
{
    bool opened = false;
    // A load that fails part way has changed scenes too: that is a step as well.
    m_undo->runAsOneStep([&] {
        opened = OpenDocument(*m_document);
        if (opened)
            m_controls->showSelectedControl();
    });
    if (opened)
        m_undo->markClean();
}

void TFormMain::openFile(const QString& path)
{
    m_answers.rememberFile(path);
    bool opened = false;
    m_undo->runAsOneStep([&] {
        SceneSet scenes = m_document->scenes();
        const FileResult result = LoadSceneFile(path, scenes);
        if (!result.ok()) {
            m_answers.showError(FileErrorText(result));
            return;
        }
        m_document->replaceScenes(scenes);
        opened = true;
        m_controls->showSelectedControl();
    });
    if (opened)
        m_undo->markClean();
}

void TFormMain::saveDocument()
{
    SaveDocument(*m_document);
}

void TFormMain::saveDocumentAs()
{
    SaveDocumentAs(*m_document);
}

void TFormMain::exportPicture()
{
    // A number typed but not yet left is clamped and stored first, as the window then shows it.
    m_controls->settleFocus();
    const QString base = m_document->fileName().isEmpty() ? QStringLiteral("scenes")
                                                          : QFileInfo(m_document->fileName()).completeBaseName();
    const std::optional<QString> path = m_answers.chooseExportFile(base + QStringLiteral(".pdf"));
    if (!path)
        return;
    // The picture shows the current scene; the printable sheet has a page for every scene.
    const QList<int> scenes = PictureFormatOf(*path) == PictureFormat::Pdf ? QList<int>{1, 2, 3, 4}
                                                                           : QList<int>{m_document->currentScene()};
    const int mode = m_controls->displayMode() < 0 ? 2 : m_controls->displayMode();
    const QString problem = ExportPicture(*path, m_document->scenes(), scenes, mode, m_files.notes);
    if (!problem.isEmpty())
        m_answers.showError(problem);
}

void TFormMain::quit()
{
    if (OfferToSave(*m_document)) {
        // The question was asked here; the close that follows must not ask it again.
        m_quitApproved = true;
        close();
        m_quitApproved = false;
    }
}

// Copy and Paste go by the Control Kind that the last selection set. The selection behaviour
// sets it from the list's position, so the two agree; a position set without that behaviour
// would not, and is then taken as "Common", so no copy or paste reaches another kind's arrays.
namespace {
int indexOfKind(const ControlArea& controls)
{
    const int index = controls.selectedIndex();
    return KindOfControl(index) == controls.controlKind() ? index : 0;
}
} // namespace

void TFormMain::undo()
{
    m_undo->undo();
}

void TFormMain::redo()
{
    m_undo->redo();
}

void TFormMain::updateUndoCommands()
{
    m_undoCommand->setEnabled(m_undo->canUndo());
    m_redoCommand->setEnabled(m_undo->canRedo());
}

void TFormMain::copyControl()
{
    // Changes no scene data, shows nothing and leaves the modified flag alone.
    m_copyBuffer.copy(m_document->current(), indexOfKind(*m_controls));
}

void TFormMain::pasteControl()
{
    m_undo->runAsOneStep([this] {
        // Only onto the copied kind; with "Common" on both sides it only shows the panel again.
        // A paste that changes the scene is an edit like any other: unsaved until saved.
        bool pasted = false;
        m_document->editCurrent([&](SceneRecord& record) { pasted = m_copyBuffer.paste(record, indexOfKind(*m_controls)); });
        if (!pasted)
            return;
        m_controls->showSelectedControl();
    });
}

void TFormMain::copyScene()
{
    // A number typed but not yet left is part of the scene the user sees.
    m_controls->settleFocus();
    m_sceneBuffer.copy(m_document->current());
}

void TFormMain::pasteScene()
{
    if (!m_sceneBuffer.holdsScene())
        return;
    m_controls->settleFocus();
    m_undo->runAsOneStep([this] {
        // The document marks it modified when a byte changed.
        m_document->editCurrent([this](SceneRecord& record) { m_sceneBuffer.paste(record); });
        // As a click on the current scene's button: "Common" selected and shown.
        m_controls->selectSceneFromButtons();
    });
}

void TFormMain::checkAssignments()
{
    // A number typed out of range is clamped when its field loses the focus to the box; the
    // box shows the scenes as they stand after that.
    if (QWidget* focus = QApplication::focusWidget(); focus && m_client->isAncestorOf(focus))
        focus->clearFocus();
    ShowAssignmentCheck(CheckAssignments(m_document->scenes()));
}

bool TFormMain::transferRunning() const
{
    return m_transfer->running();
}

DeviceLink* TFormMain::openLink()
{
    if (m_link)
        return m_link.get();
    if (!m_ports) {
        if (!m_opening) {
            auto opening = std::make_shared<OpeningPorts>();
            m_opening = opening;
            // On a job of its own, which owns what it fills in: a MIDI system that never answers
            // keeps only that job waiting.
            RunBounded([opening] {
                auto ports = OpenMidiPorts(ChooseMidiApi(), "Vorel Lumo");
                std::lock_guard lock(opening->mutex);
                opening->ports = std::move(ports);
                opening->done = true;
                opening->opened.notify_all();
            }, std::chrono::milliseconds(0));
        }
        // Said on the progress bar when the system takes longer than a moment.
        QTimer notice;
        notice.setSingleShot(true);
        connect(&notice, &QTimer::timeout, this, [this] {
            m_progressBar->setFormat(QStringLiteral("Waiting for the MIDI system to answer..."));
            m_progressBar->setValue(0);
            m_progressBar->show();
        });
        notice.start(500);
        const auto opening = m_opening;
        runOnTransferThread([opening] {
            std::unique_lock lock(opening->mutex);
            opening->opened.wait_for(lock, std::chrono::milliseconds(kMidiSystemBoundMs), [&] { return opening->done; });
            return LinkResult();
        });
        notice.stop();
        m_progressBar->hide();
        m_progressBar->setFormat(QStringLiteral("%p%"));
        std::unique_lock lock(opening->mutex);
        if (!opening->done) {
            lock.unlock();
            m_answers.tell(MessageKind::Warning,
                           QStringLiteral("The MIDI system did not answer within %1 s; try again once it does.")
                               .arg(kMidiSystemBoundMs / 1000));
            return nullptr;
        }
        m_systemPorts = std::move(opening->ports);
        m_ports = m_systemPorts.get();
    }
    m_link = std::make_unique<DeviceLink>(*m_ports);
    return m_link.get();
}

LinkResult TFormMain::runOnTransferThread(const std::function<LinkResult()>& step)
{
    setTransferRunning(true);
    const LinkResult result = m_transfer->run(m_link.get(), step);
    setTransferRunning(false);
    return result;
}

// The client area and the menus take no input while a transfer runs; Esc and the close button
// stay. Disabling also ends a press under way (an arrow held down stops repeating).
void TFormMain::setTransferRunning(bool running)
{
    m_client->setEnabled(!running);
    menuBar()->setEnabled(!running);
    for (QAction* command : std::as_const(m_commands))
        command->setEnabled(!running);
    if (!running)
        updateUndoCommands();
    m_cancelTransfer->setEnabled(running);
    if (running)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFormMain::cancelTransfer()
{
    m_transfer->cancel();
}

TransferHooks TFormMain::transferHooks()
{
    TransferHooks hooks;
    TransferThread* transfer = m_transfer.get();
    hooks.progress = [transfer](int percent) { transfer->reportProgress(percent); };
    // The send hides the bar itself after its last step, from this thread: at once, before its
    // message box.
    hooks.showProgress = [this, transfer](bool visible) {
        if (QThread::currentThread() == thread())
            m_progressBar->setVisible(visible);
        else
            transfer->reportShown(visible);
    };
    hooks.runBlocking = [this](const std::function<LinkResult()>& step) { return runOnTransferThread(step); };
    hooks.redisplay = [this] { m_controls->showSelectedControl(); };
    hooks.rememberedPair = &RememberedPair;
    hooks.rememberPair = &RememberPair;
    return hooks;
}

// A close asked for during the transfer comes now.
void TFormMain::endCommand()
{
    if (m_closeAfterTransfer) {
        m_closeAfterTransfer = false;
        close();
    }
}

void TFormMain::readSceneData()
{
    const bool following = pauseFollowing();
    // The read clears the modified flag when it has replaced the scenes; the history marks
    // that state then (UndoSteps::markClean).
    m_undo->runAsOneStep([this] {
        if (DeviceLink* link = openLink())
            lumo::readSceneData(*m_document, *link, transferHooks());
    });
    resumeFollowing(following);
    endCommand();
}

void TFormMain::sendSceneData()
{
    const bool following = pauseFollowing();
    if (DeviceLink* link = openLink())
        lumo::sendSceneData(*m_document, *link, transferHooks(),
                            {.backup = m_backUpBeforeSend->isChecked(), .verify = m_verifyAfterSend->isChecked(),
                             .backupFolder = {}});
    resumeFollowing(following);
    endCommand();
}

void TFormMain::compareWithController()
{
    const bool following = pauseFollowing();
    // The box shows the scenes as they stand after a typed number is clamped.
    m_controls->settleFocus();
    if (DeviceLink* link = openLink()) {
        const CompareResult compared = lumo::compareWithController(*m_document, *link, transferHooks(), m_files.notes);
        if (compared.outcome == TransferOutcome::Done)
            ShowControllerComparison(compared.differences);
    }
    resumeFollowing(following);
    endCommand();
}

void TFormMain::openBackupsFolder()
{
    // "Open" with its save question, its dialog starting in the backups' folder.
    const QString folder = SendBackupFolder();
    QDir().mkpath(folder);
    m_answers.openNextIn(folder);
    openDocument();
}

void TFormMain::followController()
{
    if (!m_followController->isChecked())
        m_listener->stop();
    else if (!startFollowing())
        m_followController->setChecked(false);
    endCommand();
}

bool TFormMain::startFollowing()
{
    DeviceLink* link = openLink();
    if (!link)
        return false;
    link->resetCancel();
    const LinkResult found = findController(*link, transferHooks());
    if (!found.ok()) {
        if (found.error != LinkError::Cancelled)
            m_answers.tell(MessageKind::Warning, transfer_text::kDeviceNotFound);
        return false;
    }
    m_listener->listen(*link);
    return true;
}

bool TFormMain::pauseFollowing()
{
    const bool following = m_listener->listening();
    m_listener->stop();
    return following;
}

// The transfer's own search found the controller again, on the ports it left open; when that
// search failed (its warning said so) or was cancelled, following ends with it.
void TFormMain::resumeFollowing(bool wasFollowing)
{
    if (!wasFollowing || m_closeAfterTransfer)
        return;
    if (m_link && !m_link->found().empty())
        m_listener->listen(*m_link);
    else
        m_followController->setChecked(false);
}

void TFormMain::selectSender(quint32 word)
{
    // A command waiting for an answer (a question, a file dialog) is not disturbed.
    if (QApplication::activeModalWidget() || transferRunning())
        return;
    SelectSender(word, *m_document, *m_controls, m_client);
}

void TFormMain::showAbout()
{
    TFormAbout about(this);
    about.exec();
}

void TFormMain::onProgress(int percent)
{
    if (m_progressBar->value() == percent)
        return;
    m_progressBar->setValue(percent);
    m_progressBar->repaint();
}

} // namespace lumo
