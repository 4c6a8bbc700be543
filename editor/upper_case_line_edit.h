// A one-line text field that shows every letter as a capital, typed, pasted or set by the
// program, and holds 8-bit Latin-1 characters only (a stored name has one byte per character):
// any other character is refused with a beep. shownTextChanged reports each new text once,
// already in capitals.
#pragma once

#include <QLineEdit>

namespace lumo {

class UpperCaseLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit UpperCaseLineEdit(QWidget* parent = nullptr);

    // Capitals of the letters that have a capital within 8-bit Latin-1, so a stored name
    // keeps one byte per character.
    static QString toCapitals(const QString& text);
    // Shows `text` in capitals; a text that already shows that way changes nothing.
    void setShownText(const QString& text);

signals:
    void shownTextChanged(const QString& text);

private:
    void onTextChanged(const QString& text);
};

} // namespace lumo
