// The File commands. A save that succeeds clears the modified flag; one that is cancelled or
// fails changes nothing and stops the command that asked for it.
#include "app/file_commands.h"

#include "app/app_log.h"

#include "scene/scene_file.h"

#include <QCoreApplication>

namespace lumo {

namespace {

bool saveTo(DocumentSession& document, const QString& path)
{
    const FileResult result = SaveSceneFile(path, document.scenes());
    if (!result.ok()) {
        document.answers().showError(FileErrorText(result));
        return false;
    }
    document.markClean();
    return true;
}

} // namespace

bool OfferToSave(DocumentSession& document)
{
    if (!document.modified()) return true;
    switch (document.answers().ask(MessageKind::Warning, QCoreApplication::translate("FileCommands", kSaveQuestion.toUtf8().constData()))) {
    case Answer::Yes: qCDebug(appLog) << "save question: Yes"; return SaveDocumentAs(document);
    case Answer::No: qCDebug(appLog) << "save question: No"; return true;
    case Answer::Cancel: break;
    }
    qCDebug(appLog) << "save question: Cancel";
    return false;
}

bool NewDocument(DocumentSession& document)
{
    if (!OfferToSave(document)) return false;
    SceneSet scenes = document.scenes();
    ApplyDefaults(document.defaults(), scenes);
    document.replaceScenes(scenes);
    document.setFileName(QString());
    return true;
}

bool OpenDocument(DocumentSession& document)
{
    if (!OfferToSave(document)) return false;
    const std::optional<QString> path = document.answers().chooseOpenFile();
    if (!path) {
        qCDebug(appLog) << "open: no file chosen";
        return false;
    }
    SceneSet scenes = document.scenes();
    const FileResult result = LoadSceneFile(*path, scenes);
    if (!result.ok()) {
        document.answers().showError(FileErrorText(result));
        return false;
    }
    document.replaceScenes(scenes);
    return true;
}

bool SaveDocument(DocumentSession& document)
{
    if (document.fileName().isEmpty()) return SaveDocumentAs(document);
    return saveTo(document, document.fileName());
}

bool SaveDocumentAs(DocumentSession& document)
{
    const QString proposed = document.fileName().isEmpty() ? ProposedFileName(document.clock()) : document.fileName();
    const std::optional<QString> path = document.answers().chooseSaveFile(proposed);
    if (!path) qCDebug(appLog) << "save as: no file chosen";
    if (!path || !saveTo(document, *path)) return false;
    document.setFileName(*path);
    return true;
}

QString ProposedFileName(const QDateTime& when)
{
    return QStringLiteral("scene") + when.toString(QStringLiteral("yyMMddHHmm")) + QStringLiteral(".lumo");
}

} // namespace lumo
