// TFormMain: the fixed 792 x 546 client area, its background elements, the menu bar and the
// commands that are not part of the control area.
#include "editor/vorel_lumo_main.h"
#include "app/settings_file.h"

#include "editor/about.h"
#include "editor/assignment_check_box.h"
#include "editor/comparison_box.h"
#include "editor/connection_status.h"
#include "editor/controller_menu.h"
#include "editor/control_area.h"
#include "editor/follow_selection.h"
#include "editor/recent_files_menu.h"
#include "editor/round_rect_shape.h"
#include "editor/scene_file_drop.h"
#include "editor/transfer_progress_bar.h"
#include "editor/undo_steps.h"
#include "editor/window_fonts.h"
#include "editor/window_picture.h"
#include "picture/picture_export.h"
#include "device/device_link.h"
#include "device/midi_system.h"
#include "app/assignment_check.h"
#include "app/controller_compare.h"
#include "app/file_commands.h"
#include "app/recent_files.h"
#include "app/controller_listener.h"
#include "app/controller_watch.h"
#include "app/remembered_pair.h"
#include "app/send_backups.h"
#include "app/transfer_commands.h"
#include "app/transfer_thread.h"
#include "device/bounded_call.h"
#include "device/reopening_ports.h"
#include "scene/scene_file.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QToolButton>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <condition_variable>
#include <future>
#include <cstring>
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

QPoint TFormMain::CentredPosition(const QRect& workArea, const QSize& outerSize)
{
    return {workArea.left() + std::max(workArea.width() - outerSize.width(), 0) / 2,
            workArea.top() + std::max(workArea.height() - outerSize.height(), 0) / 2};
}

TFormMain::TFormMain(const QString& parameterFolder, MidiPorts* ports, QWidget* parent)
    : TFormMain(parameterFolder, ports, nullptr, parent)
{
}

TFormMain::TFormMain(const QString& parameterFolder, std::unique_ptr<ReopeningPorts> system, QWidget* parent)
    : TFormMain(parameterFolder, nullptr, std::move(system), parent)
{
}

TFormMain::TFormMain(const QString& parameterFolder, MidiPorts* ports, std::unique_ptr<ReopeningPorts> system,
                     QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , m_answers(this)
    , m_ports(ports)
{
    // The font database with the bundled fonts and the system's families on a thread of its
    // own. Meanwhile this thread does what measures no text: it reads the parameter files and
    // makes the menus (their items are measured when first shown). One worker rather than
    // two: on a busy machine a third thread only competes with the font database for a core.
    std::future<void> fonts = std::async(std::launch::async, [] {
        AddWindowFonts();
        // Otherwise the first text measured here would read them.
        QFontDatabase::families();
    });
    QImage picture = WindowPicture();
    // The document needs the default list, so it is made right after the parameter files.
    m_files = LoadParameterFiles(parameterFolder);
    m_document = std::make_unique<DocumentSession>(m_files.defaults, m_answers);
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("CTL_614"));
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("Client"));
    m_client->setFixedSize(kClientWidth, kClientHeight);
    QPalette background = m_client->palette();
    background.setColor(QPalette::Window, kBackground);
    m_client->setPalette(background);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    buildMenus();
    // A font resolved before the bundled fonts are in the database stays resolved to whatever
    // the system offered (seen as "DejaVu Math TeX Gyre" under load), so nothing that resolves
    // a font comes before them.
    fonts.get();
    SubstituteWindowFonts();
    // The labels' tooltips read in the window's font, not the desktop's.
    QToolTip::setFont(windowFont());
    setFont(windowFont());
    m_status = new ConnectionStatus(menuBar());

    // A first estimate without the frame, so that the window appears near its place; it is
    // placed again once the window system has given it its frame.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(CentredPosition(screen->availableGeometry(), sizeHint()));

    // A message box resolves fonts: it waits for them.
    if (!m_files.error.isEmpty())
        m_answers.showError(m_files.error);

    buildBackground(std::move(picture));
    // The control area lies over the picture and the rounded rectangle; the progress bar and
    // the "CONTROL" title are raised above it afterwards.
    m_controls = new ControlArea(m_client, *m_document, m_files.notes, this);
    m_progressBar->raise();
    m_client->findChild<QLabel*>(QStringLiteral("LabelControl"))->raise();
    m_document->setCurrentScene(1);
    m_undo = new UndoSteps(*m_document, *m_controls, m_client, this);
    connect(m_undo, &UndoSteps::availabilityChanged, this, &TFormMain::updateUndoCommands);
    updateUndoCommands();
    addSceneShortcuts();
    // A scene file dropped anywhere on the window opens; the text fields would take its name
    // as text instead.
    setAcceptDrops(true);
    for (QLineEdit* field : m_client->findChildren<QLineEdit*>())
        field->setAcceptDrops(false);

    m_transfer = std::make_unique<TransferThread>();
    connect(m_transfer.get(), &TransferThread::progressChanged, this, &TFormMain::onProgress, Qt::QueuedConnection);
    connect(m_transfer.get(), &TransferThread::progressShown, m_progressBar, &QWidget::setVisible,
            Qt::QueuedConnection);
    // A read that starts over says so on the bar until the command ends.
    connect(m_transfer.get(), &TransferThread::readRestarted, this, [this](int restart) {
        m_progressBar->setFormat(ReadRestartText(restart) + QStringLiteral(": %p%"));
    }, Qt::QueuedConnection);
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
    // One ports object and one link for the whole run. The machine's MIDI system opens on the
    // watcher's first look, and again after it went away; ports given by the caller are taken
    // as they are.
    if (!m_ports) {
        m_systemPorts = system ? std::move(system) : std::make_unique<ReopeningPorts>([] {
            return OpenMidiPorts(ChooseMidiApi(), "Vorel Lumo");
        });
        m_ports = m_systemPorts.get();
    }
    m_link = std::make_unique<DeviceLink>(*m_ports);
    watchController();
    // The watcher's first look opens the MIDI system, which the window's map does not need:
    // it starts from the event loop, after the show and before any input is handled.
    QTimer::singleShot(0, m_watch.get(), &ControllerWatch::start);
    qApp->installEventFilter(this);
}

TFormMain::~TFormMain()
{
    qApp->removeEventFilter(this);
    // The watcher may be waiting for the system to open: it ends at once.
    if (m_systemPorts)
        m_systemPorts->cancelOpen();
    m_watch.reset();
    m_listener.reset();
    // It follows the document and the focus; both go before the child objects are deleted.
    delete m_undo;
    m_transfer.reset();
    // A command still under way ends here, without going on.
    m_command.reset();
    m_link.reset();
}

void TFormMain::buildBackground(QImage controllerPicture)
{
    auto* picture = new QLabel(m_client);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(38, 26, 713, 306);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap::fromImage(std::move(controllerPicture)));

    auto* lower = new RoundRectShape(kInactiveCaption, m_client);
    lower->setObjectName(QStringLiteral("Shape1"));
    lower->setGeometry(25, 333, 742, 209);

    auto* title = new QLabel(tr("CONTROL"), m_client);
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

    QMenu* file = bar->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommand(file, QStringLiteral("New1"), tr("New"), QKeySequence(Qt::CTRL | Qt::Key_N), &TFormMain::newDocument);
    addCommand(file, QStringLiteral("Open1"), tr("Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &TFormMain::openDocument);
    auto* recent = new RecentFilesMenu(file);
    file->addMenu(recent);
    connect(recent, &RecentFilesMenu::fileChosen, this, &TFormMain::openAskingFirst);
    addCommand(file, QStringLiteral("Save1"), tr("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &TFormMain::saveDocument);
    addCommand(file, QStringLiteral("Saveas1"), tr("Save as"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), &TFormMain::saveDocumentAs);
    addCommand(file, QStringLiteral("ExportPicture1"), tr("Export Picture\u2026"), QKeySequence(), &TFormMain::exportPicture);
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    addCommand(file, QStringLiteral("Quit1"), tr("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &TFormMain::quit);

    QMenu* edit = bar->addMenu(tr("Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    m_undoCommand = addCommand(edit, QStringLiteral("Undo1"), tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &TFormMain::undo);
    m_redoCommand = addCommand(edit, QStringLiteral("Redo1"), tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TFormMain::redo);
    m_redoCommand->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator()->setObjectName(QStringLiteral("N2"));
    addCommand(edit, QStringLiteral("Copy1"), tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &TFormMain::copyControl);
    addCommand(edit, QStringLiteral("Peast1"), tr("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), &TFormMain::pasteControl);
    addCommand(edit, QStringLiteral("CopyScene1"), tr("Copy Scene"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &TFormMain::copyScene);
    addCommand(edit, QStringLiteral("PasteScene1"), tr("Paste Scene"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), &TFormMain::pasteScene);
    edit->addSeparator();
    addCommand(edit, QStringLiteral("CheckAssignments1"), tr("Check Assignments"), QKeySequence(Qt::CTRL | Qt::Key_K), &TFormMain::checkAssignments);

    QMenu* communication = bar->addMenu(tr("Communication"));
    communication->setObjectName(QStringLiteral("Communication1"));
    addCommand(communication, QStringLiteral("ReadSceneData1"), tr("Read Scene Data"), QKeySequence(Qt::CTRL | Qt::Key_L), &TFormMain::readSceneData);
    addCommand(communication, QStringLiteral("SendSceneData1"), tr("Send Scene Data"), QKeySequence(Qt::CTRL | Qt::Key_T), &TFormMain::sendSceneData);
    addCommand(communication, QStringLiteral("CompareWithController1"), tr("Compare With Controller"),
               QKeySequence(), &TFormMain::compareWithController);
    communication->addSeparator();
    m_followController = addCommand(communication, QStringLiteral("FollowController1"), tr("Follow Controller"),
                                    QKeySequence(Qt::CTRL | Qt::Key_F), &TFormMain::followController);
    m_followController->setCheckable(true);
    communication->addSeparator()->setObjectName(QStringLiteral("N2"));
    m_backUpBeforeSend = addSetting(communication, QStringLiteral("BackUpBeforeSend1"),
                                    tr("Back Up Before Send"), QStringLiteral("Send/BackUpBefore"));
    m_verifyAfterSend = addSetting(communication, QStringLiteral("VerifyAfterSend1"),
                                   tr("Verify After Send"), QStringLiteral("Send/VerifyAfter"));
    addCommand(communication, QStringLiteral("OpenBackupsFolder1"), tr("Open Backups Folder\u2026"),
               QKeySequence(), &TFormMain::openBackupsFolder);
    communication->addSeparator()->setObjectName(QStringLiteral("N3"));
    m_controllerMenu = new ControllerMenu(communication);
    communication->addMenu(m_controllerMenu);
    // Queued: the item that was chosen is made anew when the search has found the pair.
    connect(m_controllerMenu, &ControllerMenu::chosen, this, &TFormMain::chooseController, Qt::QueuedConnection);

    QMenu* help = bar->addMenu(tr("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, QStringLiteral("About1"), tr("About"), QKeySequence(Qt::CTRL | Qt::Key_H), &TFormMain::showAbout);
}

void TFormMain::addSceneShortcuts()
{
    // Window commands without a menu item, in m_commands so that they win over the focused
    // editor as the menu shortcuts do and rest during a transfer.
    for (int scene = 1; scene <= kSceneCount; ++scene) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("SelectScene%1").arg(scene));
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + scene)));
        action->setShortcutContext(Qt::WindowShortcut);
        auto* button = m_client->findChild<QToolButton*>(QStringLiteral("SceneButton%1").arg(scene));
        connect(action, &QAction::triggered, button, &QToolButton::click);
        addAction(action);
        m_commands.append(action);
    }
}

void TFormMain::placeOnScreen()
{
    // The client area's size is fixed; the window's own geometry may not be settled yet.
    QWindow* window = windowHandle();
    QScreen* screen = this->screen();
    if (!window || !screen) return;
    const QMargins frame = window->frameMargins();
    // Placed by the client area's corner: a frame position would be read by the window manager
    // against the frame it had when the request arrived.
    window->setPosition(CentredPosition(screen->availableGeometry(), sizeHint().grownBy(frame))
                        + QPoint(frame.left(), frame.top()));
}

void TFormMain::followFrame()
{
    if (!m_shownAt.isValid() || !windowHandle()) return;
    const QMargins frame = windowHandle()->frameMargins();
    // No frame yet, or none at all: the estimate of the constructor stands. Before the window
    // manager has taken the window in, the margins read from a parent that is no frame.
    const bool known = !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
    if (!known || (m_placed && frame == m_placedFrame)) return;
    if (m_placed && m_shownAt.elapsed() > kPlacementWindowMs) return;
    m_placed = true;
    m_placedFrame = frame;
    placeOnScreen();
}

void TFormMain::setVisible(bool visible)
{
    if (!visible || m_firstShowDone) {
        QMainWindow::setVisible(visible);
        return;
    }
    // The first show maps the window before it shows, polishes and fills its client area
    // (about 150 widgets): the window system and the window manager take the window in
    // meanwhile, and the first paint, which comes from the event loop, has it all. The main
    // window's layout counts its central widget hidden or not, so the window maps at its size.
    m_firstShowDone = true;
    m_client->hide();
    QMainWindow::setVisible(true);
    m_shownAt.start();
    m_client->show();
    fillScenesOnFirstShow();
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
    // The window manager reports the frame with a configure (a move or resize of the window)
    // or by the first expose; a move before it would centre the inner window and could push
    // the title bar above a small screen.
    if (watched == windowHandle() && windowHandle()
        && (event->type() == QEvent::Expose || event->type() == QEvent::Move || event->type() == QEvent::Resize))
        followFrame();
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
    if (opened) {
        m_undo->markClean();
        RecentFiles::add(m_answers.lastChosenFile());
    }
}

void TFormMain::openAskingFirst(const QString& path)
{
    if (transferRunning() || !OfferToSave(*m_document))
        return;
    openFile(path);
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event)
{
    // Ignored, the drag shows the no-drop cursor.
    if (!transferRunning() && DroppedSceneFile(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFormMain::dragMoveEvent(QDragMoveEvent* event)
{
    if (!transferRunning() && DroppedSceneFile(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFormMain::dropEvent(QDropEvent* event)
{
    const std::optional<QString> path = DroppedSceneFile(event->mimeData());
    if (!path || transferRunning()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag source waits for the drop to end; the question and the open come after it.
    QTimer::singleShot(0, this, [this, file = *path] { openAskingFirst(file); });
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
    if (opened) {
        m_undo->markClean();
        RecentFiles::add(path);
    }
}

void TFormMain::saveDocument()
{
    if (SaveDocument(*m_document))
        RecentFiles::add(m_document->fileName());
}

void TFormMain::saveDocumentAs()
{
    if (SaveDocumentAs(*m_document))
        RecentFiles::add(m_document->fileName());
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
    return m_command.held();
}

Flow<DeviceLink*> TFormMain::openLink()
{
    if (!m_systemPorts)
        co_return m_link.get();
    // Said on the progress bar when the system takes longer than a moment.
    QTimer notice;
    notice.setSingleShot(true);
    connect(&notice, &QTimer::timeout, this, [this] {
        m_progressBar->setFormat(tr("Waiting for the MIDI system to answer..."));
        m_progressBar->setValue(0);
        m_progressBar->show();
    });
    notice.start(500);
    // Bounded; Esc ends the wait at once and the command with it, while the opening goes on
    // and a later command takes what it brings. A system that is not there or did not answer
    // in time is the search's to report.
    ReopeningPorts* ports = m_systemPorts.get();
    bool stopped = false;
    const auto stop = [ports, &stopped] {
        stopped = true;
        ports->cancelOpen();
    };
    co_await DeviceStep([this, stop](std::function<LinkResult()> step, std::function<void(LinkResult)> done) {
        startStep(std::move(step), std::move(done), stop);
    }, [ports] { return ports->ensureOpen() ? LinkResult() : LinkResult::failure(LinkError::NoMidiSystem); });
    notice.stop();
    m_progressBar->hide();
    m_progressBar->setFormat(QStringLiteral("%p%"));
    co_return stopped ? nullptr : m_link.get();
}

void TFormMain::startStep(std::function<LinkResult()> step, std::function<void(LinkResult)> done,
                          std::function<void()> stop)
{
    setTransferRunning(true);
    m_transfer->start(m_link.get(), std::move(step), [this, done = std::move(done)](LinkResult result) {
        setTransferRunning(false);
        done(std::move(result));
    }, std::move(stop));
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
    hooks.readRestarted = [transfer](int restart) { transfer->reportRestart(restart); };
    hooks.showProgress = [this, transfer](bool visible) {
        if (QThread::currentThread() == thread())
            m_progressBar->setVisible(visible);
        else
            transfer->reportShown(visible);
    };
    hooks.startStep = [this](std::function<LinkResult()> step, std::function<void(LinkResult)> done) {
        startStep(std::move(step), std::move(done));
    };
    hooks.redisplay = [this] { m_controls->showSelectedControl(); };
    hooks.rememberedPair = &RememberedPair;
    hooks.rememberPair = &RememberPair;
    hooks.tryEveryPair = [this] { return m_tryEveryPair; };
    hooks.answered = [this](const std::vector<PortPair>& answering, bool everyPair) {
        takeAnswering(answering, everyPair);
    };
    return hooks;
}

void TFormMain::runCommand(Flow<void> command)
{
    if (m_command.held())
        return;
    m_command = std::move(command);
    // Ended from the event loop, never from inside the flow: a close asked for meanwhile may
    // free what the flow still runs on.
    m_command.start([this] { QMetaObject::invokeMethod(this, &TFormMain::endCommand, Qt::QueuedConnection); });
}

// A close asked for during the transfer comes now.
void TFormMain::endCommand()
{
    if (!m_command.done())
        return;
    m_command.reset();
    m_progressBar->setFormat(QStringLiteral("%p%"));
    if (m_closeAfterTransfer) {
        m_closeAfterTransfer = false;
        close();
    }
}

void TFormMain::readSceneData()
{
    runCommand(readSceneDataCommand());
}

Flow<void> TFormMain::readSceneDataCommand()
{
    const bool following = pauseFollowing();
    // The read clears the modified flag when it has replaced the scenes; the history marks
    // that state then (UndoSteps::markClean).
    m_undo->beginOneStep();
    if (DeviceLink* link = co_await openLink())
        co_await readSceneDataFlow(*m_document, *link, transferHooks());
    m_undo->endOneStep();
    resumeFollowing(following);
}

void TFormMain::sendSceneData()
{
    runCommand(sendSceneDataCommand());
}

Flow<void> TFormMain::sendSceneDataCommand()
{
    const bool following = pauseFollowing();
    if (DeviceLink* link = co_await openLink())
        co_await sendSceneDataFlow(*m_document, *link, transferHooks(),
                                   {.backup = m_backUpBeforeSend->isChecked(),
                                    .verify = m_verifyAfterSend->isChecked(), .backupFolder = {}});
    resumeFollowing(following);
}

void TFormMain::compareWithController()
{
    runCommand(compareCommand());
}

Flow<void> TFormMain::compareCommand()
{
    const bool following = pauseFollowing();
    // The box shows the scenes as they stand after a typed number is clamped.
    m_controls->settleFocus();
    if (DeviceLink* link = co_await openLink()) {
        const CompareResult compared = co_await compareWithControllerFlow(*m_document, *link, transferHooks(), m_files.notes);
        if (compared.outcome == TransferOutcome::Done)
            ShowControllerComparison(compared.differences);
    }
    resumeFollowing(following);
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
    m_followPaused = false;
    if (m_followController->isChecked()) {
        runCommand(followCommand());
        return;
    }
    m_listener->stop();
    updateStatus();
}

Flow<void> TFormMain::followCommand()
{
    // Not `if (!co_await ...)`: GCC 12 builds a bare co_await in an if condition wrongly
    // (the flow never starts).
    const bool following = co_await startFollowing();
    if (!following)
        m_followController->setChecked(false);
    updateStatus();
}

Flow<bool> TFormMain::startFollowing()
{
    DeviceLink* link = co_await openLink();
    if (!link)
        co_return false;
    link->resetCancel();
    const LinkResult found = co_await findControllerFlow(*link, transferHooks());
    if (!found.ok()) {
        if (found.error != LinkError::Cancelled)
            m_answers.tell(MessageKind::Warning, DeviceNotFoundText(found));
        co_return false;
    }
    m_listener->listen(*link);
    co_return true;
}

bool TFormMain::pauseFollowing()
{
    m_listener->stop();
    return m_followController->isChecked();
}

// The transfer's own search found the controller again, on the ports it left open. When it did
// not (its warning said why, or it was cancelled), following waits for the controller to come
// back.
void TFormMain::resumeFollowing(bool wasFollowing)
{
    if (!wasFollowing || m_closeAfterTransfer)
        return;
    // A controller unplugged during the command left the found pair behind it.
    m_followPaused = m_link->found().empty() || !m_watch->present();
    if (!m_followPaused)
        m_listener->listen(*m_link);
    updateStatus();
}

// The controller went: following pauses. It came back: a search on the pair that answered
// last connects its new ports, and following goes on. A command under way, a question or an
// open menu is not disturbed: the search waits for them.
void TFormMain::followPresence()
{
    if (!m_followController->isChecked())
        return;
    if (!m_watch->present()) {
        m_listener->stop();
        m_followPaused = true;
        updateStatus();
        return;
    }
    if (!m_followPaused)
        return;
    if (transferRunning() || QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        m_followRetry.start();
        return;
    }
    runCommand(followPresenceCommand());
}

Flow<void> TFormMain::followPresenceCommand()
{
    m_link->resetCancel();
    const LinkResult found = co_await findControllerFlow(*m_link, transferHooks());
    // Unchecked, or the window closed, while the search ran: nothing more.
    if (!m_followController->isChecked() || m_closeAfterTransfer)
        co_return;
    m_followPaused = !found.ok();
    if (found.ok())
        m_listener->listen(*m_link);
    updateStatus();
}

void TFormMain::watchController()
{
    m_watch = std::make_unique<ControllerWatch>(*m_ports);
    m_followRetry.setSingleShot(true);
    m_followRetry.setInterval(kFollowRetryMs);
    connect(&m_followRetry, &QTimer::timeout, this, &TFormMain::followPresence);
    // Following is taken up again from the event loop: a search's own end reports the pair's
    // presence too, and no search may start inside another command.
    connect(m_watch.get(), &ControllerWatch::presenceChanged, this, [this] {
        updateStatus();
        QMetaObject::invokeMethod(this, &TFormMain::followPresence, Qt::QueuedConnection);
    });
    // A port that came or went may be another controller: the next search tries every pair.
    connect(m_watch.get(), &ControllerWatch::portsChanged, this, [this] { m_tryEveryPair = true; });
    m_watch->setPair(RememberedPair());
}

void TFormMain::updateStatus()
{
    const bool present = m_watch->present();
    m_status->setConnection(present ? ControllerWatch::portName(m_watch->pair()) : QString(),
                            m_followController->isChecked() && m_followPaused);
}

// After each search: the pairs that answered for the submenu, the one in use for the status.
void TFormMain::takeAnswering(const std::vector<PortPair>& answering, bool everyPair)
{
    const PortPair& inUse = m_link->found();
    if (everyPair) {
        m_tryEveryPair = false;
        m_answering = answering;
    } else if (inUse.empty() || std::find(m_answering.begin(), m_answering.end(), inUse) == m_answering.end()) {
        // The remembered pair answered, or none did: the others of the last full look are
        // still there unless the ports changed, and then that look comes next.
        m_answering = answering;
    }
    m_watch->setPair(inUse);
    m_controllerMenu->setPairs(m_answering, inUse);
    updateStatus();
}

// A pair chosen in the "Controller" submenu is remembered and taken at once: the search that
// follows tries it first.
void TFormMain::chooseController(const PortPair& pair)
{
    RememberPair(pair);
    runCommand(chooseControllerCommand());
}

Flow<void> TFormMain::chooseControllerCommand()
{
    const bool following = pauseFollowing();
    if (DeviceLink* link = co_await openLink()) {
        link->resetCancel();
        co_await findControllerFlow(*link, transferHooks());
    }
    resumeFollowing(following);
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
    m_progressBar->advance(percent);
}

} // namespace lumo
