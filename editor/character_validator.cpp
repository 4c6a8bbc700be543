// Character filter of the text fields and the beep on refused input.
#include "editor/character_validator.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>

namespace lumo {

CharacterValidator::CharacterValidator(Test accepts, QObject* parent)
    : QValidator(parent)
    , m_accepts(accepts)
{
}

QValidator::State CharacterValidator::validate(QString& text, int&) const
{
    return std::all_of(text.cbegin(), text.cend(), m_accepts) ? Acceptable : Invalid;
}

void AcceptOnly(QLineEdit* field, CharacterValidator::Test accepts)
{
    field->setValidator(new CharacterValidator(accepts, field));
    QObject::connect(field, &QLineEdit::inputRejected, field, [] { QApplication::beep(); });
}

} // namespace lumo
