// The flows of "Read Scene Data" and "Send Scene Data".
#include "app/transfer_commands.h"

#include "device/scene_image.h"
#include "device/scene_transfer.h"
#include "device/short_message.h"
#include "scene/document.h"

namespace lumo {
namespace {

int runStep(const TransferHooks& hooks, const std::function<int()>& step)
{
    return hooks.runBlocking ? hooks.runBlocking(step) : step();
}

TransferProgress progressOf(const TransferHooks& hooks)
{
    return TransferProgress{hooks.showProgress, hooks.progress};
}

void redisplay(const TransferHooks& hooks)
{
    if (hooks.redisplay)
        hooks.redisplay();
}

} // namespace

TransferOutcome ReadSceneData1Click(Document& document, DeviceLink& link, const TransferHooks& hooks)
{
    UserAnswers& answers = document.answers();
    // Cancel, or Yes followed by a cancelled or failed "Save as", stops the command: the edits
    // would otherwise be overwritten by the read without having been saved.
    if (document.modified() && !document.OfferToSave())
        return TransferOutcome::Declined;

    const int length = TransferLength(document.defaults());
    if (runStep(hooks, [&] { return link.FindDevice(IdentityReply); }) != 0) {
        answers.tell(MessageKind::Warning, transfer_text::kDeviceNotFound);
        redisplay(hooks);
        return TransferOutcome::NotFound;
    }
    if (answers.ask(MessageKind::Confirm, transfer_text::kConfirmRead) != Answer::Yes)
        return TransferOutcome::Declined;

    const int blockAddOne = BlockAddOne(document.defaults());
    ImageBuffer& image = link.image();
    const TransferProgress progress = progressOf(hooks);
    const int result = runStep(hooks, [&] { return ReadSceneImage(link, length, image, blockAddOne, progress); });
    if (result == 0) {
        answers.tell(MessageKind::Information, transfer_text::kReadOk);
        UnpackSceneImage(image.data(), document.scenes());
    }
    redisplay(hooks);
    // The redisplay may mark the document modified while it refills the panel; the flag is
    // cleared after it, and only when the scenes now are the controller's.
    if (result == 0)
        document.setModified(false);
    return result == 0 ? TransferOutcome::Done : TransferOutcome::Failed;
}

TransferOutcome SendSceneData1Click(Document& document, DeviceLink& link, const TransferHooks& hooks)
{
    UserAnswers& answers = document.answers();
    const int length = TransferLength(document.defaults());
    if (runStep(hooks, [&] { return link.FindDevice(IdentityReply); }) != 0) {
        answers.tell(MessageKind::Warning, transfer_text::kDeviceNotFound);
        return TransferOutcome::NotFound;
    }
    if (answers.ask(MessageKind::Confirm, transfer_text::kConfirmSend) != Answer::Yes)
        return TransferOutcome::Declined;

    ImageBuffer& image = link.image();
    PackSceneImage(document.scenes(), image.data());
    const TransferProgress progress = progressOf(hooks);
    if (runStep(hooks, [&] { return SendSceneImage(link, length, image, progress); }) != 0)
        return TransferOutcome::Failed;
    answers.tell(MessageKind::Information, transfer_text::kSendOk);
    return TransferOutcome::Done;
}

} // namespace lumo
