// The main window (unit VorelLumoMain): start-up, the menu bar, the File, Edit,
// Communication and Help commands, the progress bar of the transfers.
#pragma once

#include "app/command_flow.h"
#include "device/device_link.h"
#include "editor/message_boxes.h"
#include "scene/copy_buffer.h"
#include "app/document_session.h"
#include "scene/scene_buffer.h"
#include "scene/parameter_files.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <QMargins>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QImage;
class QKeyEvent;
class QLabel;
class QProgressBar;
class QToolButton;

namespace lumo {

class ConnectionStatus;
class ControlArea;
class ControllerListener;
class ControllerMenu;
class ControllerWatch;
class DeviceLink;
class UndoSteps;
class MidiPorts;
class ReopeningPorts;
class TransferProgressBar;
class TransferThread;
struct LinkResult;
struct PortPair;
struct TransferHooks;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: places the window near the centre (exactly once its frame is known), reads
    // the parameter files from `parameterFolder` (the current folder when empty) and builds the
    // layout with scene 1 current. The transfers use `ports` (not owned) when given, else the
    // machine's MIDI system, opened in the background at once and again after it went away.
    explicit TFormMain(const QString& parameterFolder = QString(), MidiPorts* ports = nullptr,
                       QWidget* parent = nullptr);
    // The same on `system` in place of the machine's MIDI system.
    TFormMain(const QString& parameterFolder, std::unique_ptr<ReopeningPorts> system, QWidget* parent = nullptr);
    ~TFormMain() override;

    DocumentSession& document() { return *m_document; }
    // Opens `path` as "Open" opens the file chosen in its dialog (the file named on the
    // command line); a failure shows the error box and changes no scene.
    void openFile(const QString& path);
    ControlArea& controls() { return *m_controls; }
    const ParameterFiles& parameterFiles() const { return m_files; }
    QWidget* client() const { return m_client; }
    // A command with device steps (a read, a send, a search) is under way, up to its end.
    bool transferRunning() const;
    // The link of the transfers, kept for the whole run.
    DeviceLink* deviceLink() { return m_link.get(); }

    // The window's position for a work area: centred, halves rounded down, never above or
    // left of the work area's top-left corner.
    static QPoint CentredPosition(const QRect& workArea, const QSize& outerSize);

public slots:
    void newDocument();
    void openDocument();
    void saveDocument();
    void saveDocumentAs();
    // "Export Picture…": the picture with the labels of the current display mode as PNG or SVG
    // (the current scene), or the printable sheet as PDF (a page for every scene).
    void exportPicture();
    void quit();
    void undo();
    void redo();
    void copyControl();
    void pasteControl();
    // "Copy Scene" / "Paste Scene": the whole current scene, byte for byte, as one undo step.
    void copyScene();
    void pasteScene();
    // Lists what the assignment check finds in the four scenes, or that it finds nothing.
    void checkAssignments();
    void readSceneData();
    void sendSceneData();
    // "Compare With Controller": the controller's scenes read into a copy and their
    // differences shown; the document, its flag and the undo history stay as they were.
    void compareWithController();
    // "Follow Controller" checked: finds the controller (the item unchecks when it is not
    // there) and selects the control that sent each of its messages; unchecked: stops
    // listening, the ports stay open.
    void followController();
    // "Open Backups Folder…": the save question, then the Open dialog in the send backups' folder.
    void openBackupsFolder();
    // Esc: stops the transfer under way.
    void cancelTransfer();
    void showAbout();

    // The first show maps the window before it fills its client area.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // One dropped ".lumo" file opens as "Open" opens it; anything else is refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // A controller that came back while a command, a question or a menu was open is looked for
    // again after this long.
    static constexpr int kFollowRetryMs = 300;
    static constexpr int kPlacementWindowMs = 1000;

private:
    TFormMain(const QString& parameterFolder, MidiPorts* ports, std::unique_ptr<ReopeningPorts> system,
              QWidget* parent);
    void fillScenesOnFirstShow();
    // Centres the outer window, the frame that the window manager reports included, on the
    // work area of its screen.
    void placeOnScreen();
    // Placement follows the frame: at the first configure that carries it, and again when it
    // changes within kPlacementWindowMs of the first show.
    void followFrame();
    // Ctrl+1 .. Ctrl+4 click the scene buttons.
    void addSceneShortcuts();
    // "Open Recent" and a drop: the save question, then the file opens as "Open" opens it.
    void openAskingFirst(const QString& path);
    void buildMenus();
    void buildBackground(QImage controllerPicture);
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut, void (TFormMain::*handler)());
    // A checkable command whose state is kept in the user's settings under `key`.
    QAction* addSetting(QMenu* menu, const QString& name, const QString& text, const QString& key);
    void onProgress(int percent);
    void updateUndoCommands();
    bool isCommandShortcut(const QKeyEvent& key) const;
    TransferHooks transferHooks();
    // The link, once the MIDI system has opened on the transfer thread (bounded); null when Esc
    // ended the wait.
    Flow<DeviceLink*> openLink();
    // Starts a device step on the transfer thread, the window disabled meanwhile. `stop`: how
    // Esc ends a step that has no link to cancel.
    void startStep(std::function<LinkResult()> step, std::function<void(LinkResult)> done,
                   std::function<void()> stop = {});
    void setTransferRunning(bool running);
    // Starts a command's flow, one at a time; its end comes back through the event loop.
    void runCommand(Flow<void> command);
    void endCommand();
    Flow<void> readSceneDataCommand();
    Flow<void> sendSceneDataCommand();
    Flow<void> compareCommand();
    Flow<void> followCommand();
    Flow<void> followPresenceCommand();
    Flow<void> chooseControllerCommand();
    Flow<bool> startFollowing();
    // Following stops during a transfer and, with the controller found again, goes on after it.
    bool pauseFollowing();
    void resumeFollowing(bool wasFollowing);
    void followPresence();
    void selectSender(quint32 word);
    void watchController();
    void updateStatus();
    void takeAnswering(const std::vector<PortPair>& answering, bool everyPair);
    void chooseController(const PortPair& pair);

    ParameterFiles m_files;
    MessageBoxes m_answers;
    std::unique_ptr<DocumentSession> m_document;
    MidiPorts* m_ports = nullptr;
    std::unique_ptr<ReopeningPorts> m_systemPorts; // the machine's, when no ports were given
    std::unique_ptr<DeviceLink> m_link;
    // The command under way; declared before the transfer thread, whose worker has ended before
    // the command's flow, and what its step uses, goes.
    Flow<void> m_command;
    // Declared after the link: its worker has ended before the link goes.
    std::unique_ptr<TransferThread> m_transfer;
    // Declared after the link: it stops listening before the link goes.
    std::unique_ptr<ControllerListener> m_listener;
    // Declared after the ports: its watcher thread ends before they go.
    std::unique_ptr<ControllerWatch> m_watch;
    ConnectionStatus* m_status = nullptr;
    ControllerMenu* m_controllerMenu = nullptr;
    std::vector<PortPair> m_answering; // in the last search, for the submenu
    bool m_tryEveryPair = true;        // the ports changed since the last search of every pair
    bool m_followPaused = false;       // Follow Controller is on and waits for the controller
    QTimer m_followRetry;
    QAction* m_followController = nullptr;
    QAction* m_cancelTransfer = nullptr;
    QAction* m_backUpBeforeSend = nullptr;
    QAction* m_verifyAfterSend = nullptr;
    QWidget* m_client = nullptr;
    ControlArea* m_controls = nullptr;
    UndoSteps* m_undo = nullptr;
    QAction* m_undoCommand = nullptr;
    QAction* m_redoCommand = nullptr;
    TransferProgressBar* m_progressBar = nullptr;
    QList<QAction*> m_commands;
    // "Copy" and "Paste": lives for the whole run, survives New, Open and reads, never saved.
    CopyBuffer m_copyBuffer;
    // "Copy Scene": likewise for the whole run, across Open.
    SceneBuffer m_sceneBuffer;
    bool m_firstShowDone = false;
    bool m_placed = false;
    QMargins m_placedFrame;
    QElapsedTimer m_shownAt;
    bool m_quitApproved = false;
    bool m_closeAfterTransfer = false;
};

} // namespace lumo
