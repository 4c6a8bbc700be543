// The window's answers to the document and transfer commands: modal message boxes and the
// file dialogs of the scene files.
#pragma once

#include "app/user_answers.h"

#include <QString>

class QWidget;

namespace lumo {

// Titles of the three kinds of message box.
QString MessageTitle(MessageKind kind);

class MessageBoxes : public UserAnswers {
public:
    // `dialogParent` owns the file dialogs; the message boxes have no parent so that they
    // are centred on the screen.
    explicit MessageBoxes(QWidget* dialogParent = nullptr) : m_dialogParent(dialogParent) {}

    Answer ask(MessageKind kind, const QString& text) override;
    void tell(MessageKind kind, const QString& text) override;
    void showError(const QString& text) override;
    std::optional<QString> chooseOpenFile() override;
    std::optional<QString> chooseSaveFile(const QString& proposedName) override;
    // The save dialog of "Export Picture…": PNG, SVG or PDF, PDF offered first.
    std::optional<QString> chooseExportFile(const QString& proposedName);
    // The next Open dialog starts in `folder`.
    void openNextIn(const QString& folder) { m_nextOpenFolder = folder; }

    // The file the last Open dialog gave.
    QString lastChosenFile() const { return m_lastChosenFile; }

    // The folder of `path` becomes where the dialogs start, in this run and the next.
    void rememberFile(const QString& path);

private:
    QString startFolder() const;

    QWidget* m_dialogParent;
    QString m_lastFolder;
    QString m_nextOpenFolder;
    QString m_lastChosenFile;
};

} // namespace lumo
