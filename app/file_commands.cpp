// The File commands. A save that succeeds clears the modified flag; one that is cancelled or
// fails changes nothing and stops the command that asked for it.
#include "app/file_commands.h"

#include "app/app_log.h"

#include "scene/scene_file.h"

#include <QCoreApplication>

namespace lumo {

namespace {

bool saveTo(Document& document, const QString& path)
{
    const FileResult result = SaveSceneFile(path, document.scenes());
    if (!result.ok()) {
        document.answers().showError(FileErrorText(result));
        return false;
    }
    document.setModified(false);
    return true;
}

} // namespace

bool OfferToSave(Document& document)
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

bool NewDocument(Document& document)
{
    if (!OfferToSave(document)) return false;
    ApplyDefaults(document.defaults(), document.scenes());
    document.setFileName(QString());
    return true;
}

bool OpenDocument(Document& document)
{
    if (!OfferToSave(document)) return false;
    const std::optional<QString> path = document.answers().chooseOpenFile();
    if (!path) {
        qCDebug(appLog) << "open: no file chosen";
        return false;
    }
    const FileResult result = LoadSceneFile(*path, document.scenes());
    if (!result.ok()) {
        document.answers().showError(FileErrorText(result));
        return false;
    }
    return true;
}

bool SaveDocument(Document& document)
{
    if (document.fileName().isEmpty()) return SaveDocumentAs(document);
    return saveTo(document, document.fileName());
}

bool SaveDocumentAs(Document& document)
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
