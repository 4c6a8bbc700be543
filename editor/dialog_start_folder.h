// Where the Open and Save as dialogs start, chosen without widgets so that it can be tested.
#pragma once

#include <QString>

namespace lumo {

struct DialogFolders {
    QString lastThisRun; // folder of the file last opened or saved in this run
    QString remembered;  // the same, remembered from the last run
    QString current;     // the process's current folder
    QString documents;   // the user's documents folder
};

// The first that applies: the folder of this run's last file, the remembered folder (both
// only while they exist), the current folder when it may be written, the documents folder.
// Started from a desktop menu the current folder may be a read-only system folder.
QString DialogStartFolder(const DialogFolders& folders);

} // namespace lumo
