// The two commands of the "Communication" menu, "Read Scene Data" and "Send Scene Data", free of
// widgets: the window, `lumo` and the tests run the same flows and differ only in their hooks
// and in how they answer the questions.
#pragma once

#include "app/command_flow.h"
#include "device/device_link.h"
#include "device/scene_transfer.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

namespace lumo {

class DocumentSession;

// What the commands need from whoever shows them.
struct TransferHooks {
    std::function<void(int percent)> progress;      // may be called from a worker thread
    std::function<void(bool visible)> showProgress; // from a worker thread, or the command's own to hide it
    // A read lost a reply and starts over (restart 1..kReadRestarts); from a worker thread.
    // ReadRestartText(restart) is what the progress bar says.
    std::function<void(int restart)> readRestarted;
    // Starts a device step (the search, a transfer); the window runs it on its transfer thread
    // and resumes the flow from its event loop when it has ended. Empty: the step runs inline.
    StepStarter startStep;
    std::function<void()> redisplay; // the window's refill of the selected item
    // Where the pair that answered last is kept; empty: it is neither tried first nor kept.
    std::function<PortPair()> rememberedPair;
    std::function<void(const PortPair&)> rememberPair;
    // The window lists every pair that answers. When `tryEveryPair` says so (the ports changed
    // since it last looked), the search tries them all; `answered` then gets every pair that
    // answered, else the one found (empty when none was). Both empty: the plain search.
    std::function<bool()> tryEveryPair;
    std::function<void(const std::vector<PortPair>& answering, bool everyPair)> answered;
    // Only the pairs whose output or input name contains this are tried (`lumo --port NAME`).
    std::string onlyPort;
};

// How a command ended, for callers that want more than the messages (`lumo`, tests).
enum class TransferOutcome {
    Done,     // transferred; "Read data OK." / "Send data OK." was shown
    NotFound, // no controller answered the handshake, or there is no MIDI system
    Declined, // the save question or the confirmation was not answered Yes, or the save failed
    Failed,   // the transfer itself failed or was cancelled; a warning said why
    Differs,  // sent, but the scenes read back differ; a warning listed the first differences
};

struct TransferResult {
    TransferResult() = default;
    TransferResult(TransferOutcome ended, const LinkResult& result) : outcome(ended), link(result) {}

    TransferOutcome outcome = TransferOutcome::Done;
    LinkResult link;          // what failed in the search or the transfer
    QString backupPath;       // the backup taken before the send
    QStringList differences;  // every setting that differs after the send, one line each
};

// What a send does around the image it writes. Both off: the plain send of the menu command.
struct SendChecks {
    bool backup = false;  // first read the controller's scenes and store them as a backup
    bool verify = false;  // afterwards read them back and compare with what was sent
    QString backupFolder; // empty: SendBackupFolder()
};

// The English texts, as `lumo` prints them; the commands show them through Translated().
namespace transfer_text {
inline const QString kDeviceNotFound = QString::fromUtf8(QT_TRANSLATE_NOOP("TransferCommands", "Vorel Lumo Device is not exist."));
inline const QString kConfirmRead = QString::fromUtf8(QT_TRANSLATE_NOOP("TransferCommands", "Are you sure to read data from device?"));
inline const QString kConfirmSend = QString::fromUtf8(QT_TRANSLATE_NOOP("TransferCommands", "Are you sure to send data?"));
inline const QString kReadOk = QString::fromUtf8(QT_TRANSLATE_NOOP("TransferCommands", "Read data OK."));
inline const QString kSendOk = QString::fromUtf8(QT_TRANSLATE_NOOP("TransferCommands", "Send data OK."));

// A text above through Qt's translation (unchanged where no translator is installed, as in `lumo`).
inline QString Translated(const QString& text)
{
    return QCoreApplication::translate("TransferCommands", text.toUtf8().constData());
}
} // namespace transfer_text

// The device search of both commands (and of following the controller), first on the pair that
// answered last; the pair found is kept for next time. A search of every pair ends on the same
// pair as the plain one would. It shows nothing.
Flow<LinkResult> findControllerFlow(DeviceLink& link, TransferHooks hooks);

// "Read Scene Data": offers to save unsaved changes, finds the controller, confirms, reads the
// image and unpacks it into the four scenes, redisplays. The modified flag is cleared only when
// the scenes really were replaced by a successful read (or saved by the save question); a
// failed search or read leaves the scenes and unsaved edits as they were, and a warning says
// why the read failed.
Flow<TransferResult> readSceneDataFlow(DocumentSession& document, DeviceLink& link, TransferHooks hooks);

// "Send Scene Data": finds the controller, confirms, packs the scenes and sends the image. It
// neither asks to save nor touches the modified flag or the display. A failed or cancelled send
// warns that the controller may now hold a partly written image. With `checks` it first stores
// the controller's scenes as a backup (a failed backup sends nothing) and afterwards reads them
// back: a difference replaces "Send data OK." with a warning. One progress bar spans the steps.
Flow<TransferResult> sendSceneDataFlow(DocumentSession& document, DeviceLink& link, TransferHooks hooks,
                                       SendChecks checks = {});

// The flows above run to their end, for callers whose steps run inline (no `startStep`).
LinkResult findController(DeviceLink& link, const TransferHooks& hooks);
TransferResult readSceneData(DocumentSession& document, DeviceLink& link, const TransferHooks& hooks);
TransferResult sendSceneData(DocumentSession& document, DeviceLink& link, const TransferHooks& hooks,
                             const SendChecks& checks = {});

// The warning shown after a failed transfer (not after a failed search).
QString TransferFailureText(const LinkResult& result, bool sending);
// "A reply was lost or came twice; reading again from the start (N of 3)".
QString ReadRestartText(int restart);
// Why no controller was found: what `lumo` adds to the search's own message in brackets.
QString SearchFailureDetail(const LinkResult& result);
// The warning of a failed search: "Vorel Lumo Device is not exist." and, on a second line,
// why in brackets, as `lumo` prints it on one.
QString DeviceNotFoundText(const LinkResult& result);

} // namespace lumo
