// A text field's filter of characters: QLineEdit applies it to typing, Paste (shortcut or
// context menu) and drag and drop alike, so no way in bypasses it.
#pragma once

#include <QValidator>

class QLineEdit;

namespace lumo {

class CharacterValidator : public QValidator {
public:
    using Test = bool (*)(QChar);
    CharacterValidator(Test accepts, QObject* parent);

    // Acceptable when every character passes the test; anything else is Invalid and the field
    // keeps its text.
    State validate(QString& text, int& pos) const override;

private:
    Test m_accepts;
};

// Lets `field` take only text whose characters pass `accepts`; refused input (inputRejected)
// sounds the system beep, like a refused key.
void AcceptOnly(QLineEdit* field, CharacterValidator::Test accepts);

} // namespace lumo
