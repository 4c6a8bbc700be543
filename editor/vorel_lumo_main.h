// The main window (unit VorelLumoMain): start-up, the menu bar, the File, Edit,
// Communication and Help commands, the progress bar of the transfers.
#pragma once

#include "editor/message_boxes.h"
#include "scene/copy_buffer.h"
#include "scene/document.h"
#include "scene/parameter_files.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QProgressBar;

namespace lumo {

class ControlArea;
class DeviceLink;
class MidiPorts;
struct TransferHooks;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: centres the window, reads the parameter files from `parameterFolder`
    // (the current folder when empty) and builds the layout with scene 1 current. The transfers
    // use `ports` (not owned) when given, else the machine's MIDI system, opened at the first
    // transfer.
    explicit TFormMain(const QString& parameterFolder = QString(), MidiPorts* ports = nullptr,
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    Document& document() { return *m_document; }
    // Opens `path` as "Open" opens the file chosen in its dialog (the file named on the
    // command line); a failure shows the error box and changes no scene.
    void openFile(const QString& path);
    ControlArea& controls() { return *m_controls; }
    const ParameterFiles& parameterFiles() const { return m_files; }
    QWidget* client() const { return m_client; }
    bool transferRunning() const { return m_transferRunning; }
    // The link of the transfers, made at the first transfer and kept for the whole run.
    DeviceLink& deviceLink();

    // Runs `step` on a worker thread while the window keeps painting but takes no user input;
    // returns once the step has ended. Progress reported meanwhile is shown as it comes.
    void runBlocking(const std::function<void()>& step);
    // Both may be called from any thread; the bar is repainted at once on the window's thread.
    void setProgress(int percent);
    void showProgress(bool visible);

    // The window's position for a work area: centred, halves rounded down, never above or
    // left of the work area's top-left corner.
    static QPoint CentredPosition(const QRect& workArea, const QSize& outerSize);

public slots:
    void New1Click();
    void Open1Click();
    void Save1Click();
    void Saveas1Click();
    void Quit1Click();
    void Copy1Click();
    void Peast1Click();
    void ReadSceneData1Click();
    void SendSceneData1Click();
    void About1Click();

signals:
    void progressChanged(int percent);
    void progressShown(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void buildMenus();
    void buildBackground();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut, void (TFormMain::*handler)());
    void onProgress(int percent);
    TransferHooks transferHooks();

    ParameterFiles m_files;
    MessageBoxes m_answers;
    std::unique_ptr<Document> m_document;
    MidiPorts* m_ports = nullptr;
    std::unique_ptr<MidiPorts> m_systemPorts;
    std::unique_ptr<DeviceLink> m_link;
    QWidget* m_client = nullptr;
    ControlArea* m_controls = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QList<QAction*> m_commands;
    // "Copy" and "Paste": lives for the whole run, survives New, Open and reads, never saved.
    CopyBuffer m_copyBuffer;
    bool m_firstShowDone = false;
    bool m_quitApproved = false;
    bool m_transferRunning = false;
};

} // namespace lumo
