// The File commands on the Scene Set. A save that is cancelled or fails changes nothing and
// stops the command that asked for it; a save that succeeds clears the modified flag.
#include "scene/document.h"

namespace lumo {

namespace {
const QString kSaveQuestion = QStringLiteral("Do you want to save changes?");
}

Document::Document(const DefaultParameters& defaults, UserAnswers& answers)
    : m_defaults(defaults)
    , m_answers(answers)
{
}

bool Document::New1Click()
{
    // No save question; the current scene and the modified flag stay as they are.
    ApplyDefaults(m_defaults, m_scenes);
    m_fileName.clear();
    return true;
}

bool Document::Open1Click()
{
    const std::optional<QString> path = m_answers.chooseOpenFile();
    if (!path) return false;
    // The file name, the current scene and the modified flag stay as they are.
    const FileResult result = LoadSceneFile(*path, m_scenes);
    if (!result.ok()) {
        m_answers.showError(FileErrorText(result));
        return false;
    }
    return true;
}

bool Document::Save1Click()
{
    if (m_fileName.isEmpty()) return Saveas1Click();
    return saveTo(m_fileName);
}

bool Document::Saveas1Click()
{
    const QString proposed = m_fileName.isEmpty() ? ProposedFileName(clock()) : m_fileName;
    m_lastDialogName = proposed;
    const std::optional<QString> path = m_answers.chooseSaveFile(proposed);
    if (!path) return false;
    if (!saveTo(*path)) return false;
    m_fileName = *path;
    return true;
}

bool Document::Quit1Click()
{
    return OfferToSave();
}

bool Document::OfferToSave()
{
    if (!m_modified) return true;
    switch (m_answers.ask(MessageKind::Warning, kSaveQuestion)) {
    case Answer::Yes: return Saveas1Click();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

QString Document::ProposedFileName(const QDateTime& when)
{
    return QStringLiteral("scene") + when.toString(QStringLiteral("yyMMddHHmm")) + QStringLiteral(".lumo");
}

bool Document::saveTo(const QString& path)
{
    const FileResult result = SaveSceneFile(path, m_scenes);
    if (!result.ok()) {
        m_answers.showError(FileErrorText(result));
        return false;
    }
    m_modified = false;
    return true;
}

} // namespace lumo
