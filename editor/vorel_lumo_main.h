// The main window (unit VorelLumoMain): start-up, the menu bar, the File, Edit,
// Communication and Help commands, the progress bar of the transfers.
#pragma once

#include "editor/message_boxes.h"
#include "scene/copy_buffer.h"
#include "app/document_session.h"
#include "scene/scene_buffer.h"
#include "scene/parameter_files.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QKeyEvent;
class QLabel;
class QProgressBar;

namespace lumo {

class ControlArea;
class ControllerListener;
class DeviceLink;
class UndoSteps;
class MidiPorts;
class TransferThread;
struct LinkResult;
struct OpeningPorts;
struct TransferHooks;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: places the window near the centre (exactly once its frame is known), reads
    // the parameter files from `parameterFolder` (the current folder when empty) and builds the
    // layout with scene 1 current. The transfers use `ports` (not owned) when given, else the
    // machine's MIDI system, opened at the first transfer.
    explicit TFormMain(const QString& parameterFolder = QString(), MidiPorts* ports = nullptr,
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    DocumentSession& document() { return *m_document; }
    // Opens `path` as "Open" opens the file chosen in its dialog (the file named on the
    // command line); a failure shows the error box and changes no scene.
    void openFile(const QString& path);
    ControlArea& controls() { return *m_controls; }
    const ParameterFiles& parameterFiles() const { return m_files; }
    QWidget* client() const { return m_client; }
    bool transferRunning() const;
    // The link of the transfers, kept for the whole run: made at once on ports given to the
    // constructor, else at the first transfer; null while the MIDI system has not answered.
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

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // How long the window waits for the MIDI system to open before it gives up for this command.
    static constexpr int kMidiSystemBoundMs = 5000;

private:
    void fillScenesOnFirstShow();
    // Centres the outer window, frame included, on the work area of its screen.
    void placeOnScreen();
    void buildMenus();
    void buildBackground();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut, void (TFormMain::*handler)());
    // A checkable command whose state is kept in the user's settings under `key`.
    QAction* addSetting(QMenu* menu, const QString& name, const QString& text, const QString& key);
    void onProgress(int percent);
    void updateUndoCommands();
    bool isCommandShortcut(const QKeyEvent& key) const;
    TransferHooks transferHooks();
    // The link, with the MIDI system opened on the transfer thread within kMidiSystemBoundMs;
    // null (after a warning) when it did not answer in time.
    DeviceLink* openLink();
    LinkResult runOnTransferThread(const std::function<LinkResult()>& step);
    void setTransferRunning(bool running);
    void endCommand();
    bool startFollowing();
    // Following stops during a transfer and, with the controller found again, goes on after it.
    bool pauseFollowing();
    void resumeFollowing(bool wasFollowing);
    void selectSender(quint32 word);

    ParameterFiles m_files;
    MessageBoxes m_answers;
    std::unique_ptr<DocumentSession> m_document;
    MidiPorts* m_ports = nullptr;
    std::shared_ptr<OpeningPorts> m_opening; // the MIDI system, opened on a bounded job
    std::unique_ptr<MidiPorts> m_systemPorts;
    std::unique_ptr<DeviceLink> m_link;
    // Declared after the link: its worker has ended before the link goes.
    std::unique_ptr<TransferThread> m_transfer;
    // Declared after the link: it stops listening before the link goes.
    std::unique_ptr<ControllerListener> m_listener;
    QAction* m_followController = nullptr;
    QAction* m_cancelTransfer = nullptr;
    QAction* m_backUpBeforeSend = nullptr;
    QAction* m_verifyAfterSend = nullptr;
    QWidget* m_client = nullptr;
    ControlArea* m_controls = nullptr;
    UndoSteps* m_undo = nullptr;
    QAction* m_undoCommand = nullptr;
    QAction* m_redoCommand = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QList<QAction*> m_commands;
    // "Copy" and "Paste": lives for the whole run, survives New, Open and reads, never saved.
    CopyBuffer m_copyBuffer;
    // "Copy Scene": likewise for the whole run, across Open.
    SceneBuffer m_sceneBuffer;
    bool m_firstShowDone = false;
    bool m_placed = false;
    bool m_quitApproved = false;
    bool m_closeAfterTransfer = false;
};

} // namespace lumo
