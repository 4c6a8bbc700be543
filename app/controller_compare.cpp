// The compare flow: the read's search and transfer, then the differences.
#include "app/controller_compare.h"

#include "app/scene_differences.h"
#include "app/send_backups.h"
#include "device/scene_transfer.h"
#include "scene/document.h"

namespace lumo {

CompareResult compareWithController(Document& document, DeviceLink& link, const TransferHooks& hooks,
                                    const NoteNames& notes)
{
    UserAnswers& answers = document.answers();
    link.resetCancel();
    CompareResult ended;
    if (const LinkResult found = findController(link, hooks); !found.ok()) {
        if (found.error != LinkError::Cancelled)
            answers.tell(MessageKind::Warning, transfer_text::kDeviceNotFound);
        ended.outcome = found.error == LinkError::Cancelled ? TransferOutcome::Failed : TransferOutcome::NotFound;
        ended.link = found;
        return ended;
    }
    const int length = TransferLength(document.defaults());
    const int blockAddOne = BlockAddOne(document.defaults());
    ImageBuffer& image = link.image();
    const TransferProgress progress{hooks.showProgress, hooks.progress, hooks.readRestarted};
    const auto read = [&] { return ReadSceneImage(link, length, image, blockAddOne, progress); };
    ended.link = hooks.runBlocking ? hooks.runBlocking(read) : read();
    if (!ended.link.ok()) {
        answers.tell(MessageKind::Warning, TransferFailureText(ended.link, false));
        ended.outcome = TransferOutcome::Failed;
        return ended;
    }
    ended.differences = SceneDifferenceLines(document.scenes(), ScenesFromImage(image, document.defaults()), notes);
    return ended;
}

} // namespace lumo
