// Capitals-only text field.
#include "editor/upper_case_line_edit.h"

#include "editor/character_validator.h"

namespace lumo {

UpperCaseLineEdit::UpperCaseLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    AcceptOnly(this, [](QChar c) { return c.unicode() <= 0xFF; });
    connect(this, &QLineEdit::textChanged, this, &UpperCaseLineEdit::onTextChanged);
}

QString UpperCaseLineEdit::toCapitals(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const QChar upper = c.toUpper();
        if (upper.unicode() <= 0xFF) c = upper;
    }
    return result;
}

void UpperCaseLineEdit::setShownText(const QString& text)
{
    const QString capitals = toCapitals(text);
    if (capitals != this->text()) setText(capitals);
}

void UpperCaseLineEdit::onTextChanged(const QString& text)
{
    const QString capitals = toCapitals(text);
    if (capitals != text) {
        // The nested setText reports the capitals; the lower-case text is never shown.
        const int cursor = cursorPosition();
        setText(capitals);
        setCursorPosition(cursor);
        return;
    }
    emit shownTextChanged(text);
}

} // namespace lumo
