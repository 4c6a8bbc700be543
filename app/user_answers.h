// The questions that the document and transfer commands ask the user. The window answers
// with message boxes and file dialogs, the tests with scripted answers, `lumo` with its options.
#pragma once

#include <QString>

#include <optional>

namespace lumo {

enum class MessageKind { Warning, Confirm, Information };
enum class Answer { Yes, No, Cancel };

class UserAnswers {
public:
    virtual ~UserAnswers() = default;

    // A Yes / No / Cancel box ("Do you want to save changes?", "Are you sure to send data?").
    virtual Answer ask(MessageKind kind, const QString& text) = 0;
    // A box with one OK button ("Read data OK.", "Vorel Lumo Device is not exist.").
    virtual void tell(MessageKind kind, const QString& text) = 0;
    // The error box of a failed file operation; `text` already ends with its full stop.
    virtual void showError(const QString& text) = 0;
    // The open dialog; nullopt when cancelled.
    virtual std::optional<QString> chooseOpenFile() = 0;
    // The save dialog, starting with `proposedName`; nullopt when cancelled.
    virtual std::optional<QString> chooseSaveFile(const QString& proposedName) = 0;
};

} // namespace lumo
