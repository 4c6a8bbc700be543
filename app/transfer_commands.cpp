// The flows of "Read Scene Data" and "Send Scene Data".
#include "app/transfer_commands.h"

#include "app/app_log.h"
#include "app/file_commands.h"
#include "app/send_backups.h"
#include "app/send_verification.h"
#include "device/scene_image.h"
#include "device/scene_transfer.h"
#include "device/short_message.h"
#include "app/document_session.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

namespace lumo {
namespace {

TransferProgress progressOf(const TransferHooks& hooks)
{
    return TransferProgress{hooks.showProgress, hooks.progress, hooks.readRestarted};
}

void redisplay(const TransferHooks& hooks)
{
    if (hooks.redisplay)
        hooks.redisplay();
}

QString wordText(std::uint32_t word)
{
    return QStringLiteral("%1 %2 %3")
        .arg(StatusByte(word), 2, 16, QLatin1Char('0'))
        .arg(FirstDataByte(word), 2, 16, QLatin1Char('0'))
        .arg(SecondDataByte(word), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

Flow<LinkResult> findControllerFlow(DeviceLink& link, TransferHooks hooks)
{
    const PortPair remembered = hooks.rememberedPair ? hooks.rememberedPair() : PortPair();
    const bool everyPair = hooks.onlyPort.empty() && hooks.tryEveryPair && hooks.tryEveryPair();
    std::vector<PortPair> answering;
    const LinkResult result = co_await DeviceStep(hooks.startStep, [&] {
        if (!everyPair) {
            const LinkResult found = link.findDevice(IdentityReply, remembered, hooks.onlyPort);
            answering = link.answering();
            return found;
        }
        LinkResult found = link.scanDevices(IdentityReply);
        answering = link.answering();
        // The scan holds the first pair that answered; the remembered one comes first, as in
        // the plain search.
        if (found.ok() && link.found() != remembered
            && std::find(answering.begin(), answering.end(), remembered) != answering.end())
            found = link.findDevice(IdentityReply, remembered);
        return found;
    });
    if (result.ok())
        qCDebug(appLog).noquote() << "controller on" << QString::fromStdString(link.found().output) << "->"
                                  << QString::fromStdString(link.found().input);
    else
        qCDebug(appLog).noquote() << "no controller:" << SearchFailureDetail(result);
    if (result.ok() && hooks.rememberPair && link.found() != remembered)
        hooks.rememberPair(link.found());
    if (hooks.answered && result.error != LinkError::Cancelled)
        hooks.answered(result.ok() ? answering : std::vector<PortPair>(), everyPair);
    co_return result;
}

namespace {

// Why a transfer failed, without what that means for the scenes.
QString failureReason(const LinkResult& result, bool sending)
{
    const QString at = result.position < 0 ? QCoreApplication::translate("TransferCommands", "the start of the transfer")
                                           : QCoreApplication::translate("TransferCommands", "image byte %1").arg(result.position);
    QString why;
    switch (result.error) {
    case LinkError::None:
        break;
    case LinkError::NoReply:
        why = QCoreApplication::translate("TransferCommands", "The controller did not answer at %1 within %2 ms.").arg(at).arg(result.bound);
        break;
    case LinkError::WrongReply:
        why = QCoreApplication::translate("TransferCommands", "The controller answered %1 at %2, not the reply expected.").arg(wordText(result.word), at);
        break;
    case LinkError::CountUnusable:
        why = QCoreApplication::translate("TransferCommands", "The controller announced %1 blocks of 512 bytes (BlockAddOne included): "
                             "not what the scene image needs.")
                  .arg(result.position);
        break;
    case LinkError::Unasked:
        why = QCoreApplication::translate("TransferCommands", "A message that no request asked for (%1) came at %2: was the controller played "
                             "during the transfer?")
                  .arg(wordText(result.word), at);
        break;
    case LinkError::PortVanished:
        why = QCoreApplication::translate("TransferCommands", "The controller's MIDI port vanished at %1.").arg(at);
        break;
    case LinkError::SendFailed:
        why = QCoreApplication::translate("TransferCommands", "The MIDI output did not take the message at %1.").arg(at);
        break;
    case LinkError::Cancelled:
        why = sending ? QCoreApplication::translate("TransferCommands", "The send was cancelled.") : QCoreApplication::translate("TransferCommands", "The read was cancelled.");
        break;
    case LinkError::NoMidiSystem:
    case LinkError::NotFound:
        why = transfer_text::Translated(transfer_text::kDeviceNotFound);
        break;
    }
    return why;
}

// One progress bar over the steps of a send: step `index` of `count` fills its share. The flow
// hides the bar once the last step has ended, so it does not flicker between the steps.
TransferProgress stepProgress(const TransferHooks& hooks, int index, int count)
{
    TransferProgress progress;
    if (hooks.progress)
        progress.percent = [percent = hooks.progress, index, count](int p) { percent((index * 100 + p) / count); };
    if (hooks.showProgress)
        progress.show = [show = hooks.showProgress](bool visible) {
            if (visible)
                show(true);
        };
    progress.restarted = hooks.readRestarted;
    return progress;
}

void hideProgress(const TransferHooks& hooks)
{
    if (hooks.showProgress)
        hooks.showProgress(false);
}

} // namespace

QString TransferFailureText(const LinkResult& result, bool sending)
{
    if (result.ok())
        return {};
    return failureReason(result, sending)
        + (sending ? QCoreApplication::translate("TransferCommands", " The controller may now hold a partly written scene image.")
                   : QCoreApplication::translate("TransferCommands", " The scenes are unchanged."));
}

QString ReadRestartText(int restart)
{
    return QCoreApplication::translate("TransferCommands", "A reply was lost or came twice; reading again from the start (%1 of %2)")
        .arg(restart)
        .arg(kReadRestarts);
}

QString SearchFailureDetail(const LinkResult& result)
{
    switch (result.error) {
    case LinkError::NoMidiSystem:
        return result.detail.empty()
                   ? QCoreApplication::translate("TransferCommands", "no MIDI system")
                   : QCoreApplication::translate("TransferCommands", "no MIDI system: %1").arg(QString::fromStdString(result.detail));
    case LinkError::NotFound:
        return QCoreApplication::translate("TransferCommands", "no controller among %1 port pairs").arg(result.pairs);
    case LinkError::Cancelled:
        return QCoreApplication::translate("TransferCommands", "the search was cancelled");
    default:
        return {};
    }
}

QString DeviceNotFoundText(const LinkResult& result)
{
    const QString detail = SearchFailureDetail(result);
    const QString notFound = transfer_text::Translated(transfer_text::kDeviceNotFound);
    return detail.isEmpty() ? notFound : QStringLiteral("%1\n(%2)").arg(notFound, detail);
}

Flow<TransferResult> readSceneDataFlow(DocumentSession& document, DeviceLink& link, TransferHooks hooks)
{
    UserAnswers& answers = document.answers();
    link.resetCancel();
    // Cancel, or Yes followed by a cancelled or failed "Save as", stops the command: the edits
    // would otherwise be overwritten by the read without having been saved.
    if (document.modified() && !OfferToSave(document))
        co_return {TransferOutcome::Declined, {}};

    const int length = TransferLength(document.defaults());
    if (const LinkResult found = co_await findControllerFlow(link, hooks); !found.ok()) {
        if (found.error != LinkError::Cancelled)
            answers.tell(MessageKind::Warning, DeviceNotFoundText(found));
        redisplay(hooks);
        co_return {found.error == LinkError::Cancelled ? TransferOutcome::Failed : TransferOutcome::NotFound, found};
    }
    if (answers.ask(MessageKind::Confirm, transfer_text::Translated(transfer_text::kConfirmRead)) != Answer::Yes)
        co_return {TransferOutcome::Declined, {}};

    const int blockAddOne = BlockAddOne(document.defaults());
    ImageBuffer image{};
    const TransferProgress progress = progressOf(hooks);
    qCDebug(appLog) << "read of" << length << "image bytes started";
    const LinkResult result = co_await DeviceStep(hooks.startStep, [&] { return ReadSceneImage(link, length, image, blockAddOne, progress); });
    if (result.ok())
        qCDebug(appLog) << "read done";
    else
        qCDebug(appLog).noquote() << "read failed:" << failureReason(result, false);
    if (result.ok()) {
        answers.tell(MessageKind::Information, transfer_text::Translated(transfer_text::kReadOk));
        SceneSet scenes = document.scenes();
        UnpackSceneImage(image.data(), scenes);
        document.replaceScenes(scenes);
    } else {
        answers.tell(MessageKind::Warning, TransferFailureText(result, false));
    }
    // The refill of the selected item stores what the panel shows, as an edit would, and so
    // marks the document modified; the flag is cleared after it, and only when the scenes now
    // are the controller's.
    redisplay(hooks);
    if (result.ok())
        document.markClean();
    co_return {result.ok() ? TransferOutcome::Done : TransferOutcome::Failed, result};
}

Flow<TransferResult> sendSceneDataFlow(DocumentSession& document, DeviceLink& link, TransferHooks hooks,
                                       SendChecks checks)
{
    UserAnswers& answers = document.answers();
    link.resetCancel();
    const int length = TransferLength(document.defaults());
    if (const LinkResult found = co_await findControllerFlow(link, hooks); !found.ok()) {
        if (found.error != LinkError::Cancelled)
            answers.tell(MessageKind::Warning, DeviceNotFoundText(found));
        co_return {found.error == LinkError::Cancelled ? TransferOutcome::Failed : TransferOutcome::NotFound, found};
    }
    if (answers.ask(MessageKind::Confirm, transfer_text::Translated(transfer_text::kConfirmSend)) != Answer::Yes)
        co_return {TransferOutcome::Declined, {}};

    const int steps = 1 + int(checks.backup) + int(checks.verify);
    int step = 0;
    const int blockAddOne = BlockAddOne(document.defaults());
    ImageBuffer image{};
    TransferResult ended;
    // Each way out hides the bar first, so that no message box shows over a full bar.
    const auto fail = [&](TransferOutcome outcome, const LinkResult& result, const QString& text) {
        qCDebug(appLog).noquote() << "send failed:" << text;
        hideProgress(hooks);
        answers.tell(MessageKind::Warning, text);
        ended.outcome = outcome;
        ended.link = result;
        return ended;
    };

    if (checks.backup) {
        const TransferProgress progress = stepProgress(hooks, step++, steps);
        const LinkResult read = co_await DeviceStep(hooks.startStep, [&] { return ReadSceneImage(link, length, image, blockAddOne, progress); });
        if (!read.ok())
            co_return fail(TransferOutcome::Failed, read,
                        QCoreApplication::translate("TransferCommands", "Backing up the controller's scenes failed, so nothing was sent. %1")
                            .arg(failureReason(read, false)));
        const QString folder = checks.backupFolder.isEmpty() ? SendBackupFolder() : checks.backupFolder;
        const SendBackupResult stored = StoreSendBackup(ScenesFromImage(image, document.defaults()), folder);
        if (!stored.ok())
            co_return fail(TransferOutcome::Failed, {},
                        QCoreApplication::translate("TransferCommands", "The backup of the controller's scenes could not be written to %1, so nothing "
                                       "was sent. %2")
                            .arg(QDir::toNativeSeparators(stored.path), FileErrorText(stored.file)));
        ended.backupPath = stored.path;
    }

    qCDebug(appLog) << "send of" << length << "image bytes started" << (checks.backup ? "after a backup" : "")
                    << (checks.verify ? "with a read-back" : "");
    PackSceneImage(document.scenes(), image.data());
    const ImageBuffer sent = image; // the read-back reuses the buffer
    const TransferProgress sendProgress = stepProgress(hooks, step++, steps);
    const LinkResult result = co_await DeviceStep(hooks.startStep, [&] { return SendSceneImage(link, length, image, sendProgress); });
    if (!result.ok())
        co_return fail(TransferOutcome::Failed, result, TransferFailureText(result, true));

    if (checks.verify) {
        const TransferProgress progress = stepProgress(hooks, step++, steps);
        const LinkResult read = co_await DeviceStep(hooks.startStep, [&] { return ReadSceneImage(link, length, image, blockAddOne, progress); });
        if (!read.ok())
            co_return fail(TransferOutcome::Failed, read,
                        QCoreApplication::translate("TransferCommands", "The scenes were sent, but reading them back to check them failed. %1")
                            .arg(failureReason(read, false)));
        ended.differences = SceneImageDifferences(sent, image);
        if (!ended.differences.isEmpty())
            co_return fail(TransferOutcome::Differs, read, VerificationWarningText(ended.differences));
    }
    qCDebug(appLog) << "send done";
    hideProgress(hooks);
    answers.tell(MessageKind::Information, transfer_text::Translated(transfer_text::kSendOk));
    ended.link = result;
    co_return ended;
}

LinkResult findController(DeviceLink& link, const TransferHooks& hooks)
{
    return RunToEnd(findControllerFlow(link, hooks));
}

TransferResult readSceneData(DocumentSession& document, DeviceLink& link, const TransferHooks& hooks)
{
    return RunToEnd(readSceneDataFlow(document, link, hooks));
}

TransferResult sendSceneData(DocumentSession& document, DeviceLink& link, const TransferHooks& hooks,
                             const SendChecks& checks)
{
    return RunToEnd(sendSceneDataFlow(document, link, hooks, checks));
}

} // namespace lumo
