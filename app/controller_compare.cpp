// The compare flow: the read's search and transfer, then the differences.
#include "app/controller_compare.h"

#include "app/scene_differences.h"
#include "app/send_backups.h"
#include "device/scene_transfer.h"
#include "app/document_session.h"

namespace lumo {

Flow<CompareResult> compareWithControllerFlow(DocumentSession& document, DeviceLink& link, TransferHooks hooks,
                                              const NoteNames& notes)
{
    UserAnswers& answers = document.answers();
    link.resetCancel();
    CompareResult ended;
    if (const LinkResult found = co_await findControllerFlow(link, hooks); !found.ok()) {
        if (found.error != LinkError::Cancelled)
            answers.tell(MessageKind::Warning, DeviceNotFoundText(found));
        ended.outcome = found.error == LinkError::Cancelled ? TransferOutcome::Failed : TransferOutcome::NotFound;
        ended.link = found;
        co_return ended;
    }
    const int length = TransferLength(document.defaults());
    const int blockAddOne = BlockAddOne(document.defaults());
    ImageBuffer image{};
    const TransferProgress progress{hooks.showProgress, hooks.progress, hooks.readRestarted};
    ended.link = co_await DeviceStep(hooks.startStep, [&] {
        return ReadSceneImage(link, length, image, blockAddOne, progress);
    });
    if (!ended.link.ok()) {
        answers.tell(MessageKind::Warning, TransferFailureText(ended.link, false));
        ended.outcome = TransferOutcome::Failed;
        co_return ended;
    }
    ended.differences = SceneDifferenceLines(document.scenes(), ScenesFromImage(image, document.defaults()), notes);
    co_return ended;
}

CompareResult compareWithController(DocumentSession& document, DeviceLink& link, const TransferHooks& hooks,
                                    const NoteNames& notes)
{
    return RunToEnd(compareWithControllerFlow(document, link, hooks, notes));
}

} // namespace lumo
