// "Compare With Controller": the controller's scenes read as "Read Scene Data" reads them, but
// into a copy, and the settings in which they differ from the document's.
#pragma once

#include "app/transfer_commands.h"
#include "scene/parameter_files.h"

#include <QStringList>

namespace lumo {

class DocumentSession;

struct CompareResult {
    TransferOutcome outcome = TransferOutcome::Done; // Done, NotFound or Failed
    LinkResult link;
    // The document's scenes against the controller's, as `lumo diff` prints them:
    // "scene 2, Konb-1, KonbCCNumber: 20 -> 74" (left the document, right the controller).
    QStringList differences;
};

// Finds the controller, reads its image and unpacks it onto the defaults, as `lumo read` stores
// it, then compares. Asks nothing, since nothing is overwritten; the document, its modified
// flag and the display stay as they were. A failed search or read warns as the read does;
// the caller shows the differences.
Flow<CompareResult> compareWithControllerFlow(DocumentSession& document, DeviceLink& link, TransferHooks hooks,
                                              const NoteNames& notes);
// The same with its steps inline.
CompareResult compareWithController(DocumentSession& document, DeviceLink& link, const TransferHooks& hooks,
                                    const NoteNames& notes);

inline const QString kSameScenesText = QString::fromUtf8(QT_TRANSLATE_NOOP("ControllerCompare", "The controller holds the same scenes."));

} // namespace lumo
