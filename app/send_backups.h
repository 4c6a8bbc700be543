// The backups taken before a send: the controller's scenes as read, stored as scene files named
// by local date and time in the user's data folder, the newest 50 kept.
#pragma once

#include "device/device_link.h"
#include "scene/parameter_files.h"
#include "scene/scene_file.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace lumo {

inline constexpr int kSendBackupsKept = 50;

// $XDG_DATA_HOME/vorel-lumo/backups (~/.local/share/vorel-lumo/backups by default).
QString SendBackupFolder();

// The scenes a read image stands for: the image unpacked onto the defaults, as `lumo read`
// stores them.
SceneSet ScenesFromImage(const ImageBuffer& image, const DefaultParameters& defaults);

struct SendBackupResult {
    FileResult file; // why the backup could not be written
    QString path;    // the backup written, or the one that could not be
    bool ok() const { return file.ok(); }
};

// Writes `scenes` with the safe save as "yyyy-MM-dd_HH-mm-ss.lumo" of `now` in `folder`
// (created when missing; "..._2.lumo", "..._3.lumo" when the second has one already), then
// deletes the oldest backups beyond the newest `kept`, oldest by the order of writing. Only the
// regular files that this function wrote and recorded in the folder's index (".vorel-lumo-
// backups": inode and name) count and are deleted; any other file or link, whatever its name
// or date, is never touched, and the backup just written never is.
SendBackupResult StoreSendBackup(const SceneSet& scenes, const QString& folder = SendBackupFolder(),
                                 const QDateTime& now = QDateTime::currentDateTime(), int kept = kSendBackupsKept);

// The recorded backups in `folder` that are still there, file names only, oldest first.
QStringList SendBackupNames(const QString& folder = SendBackupFolder());

} // namespace lumo
