// Number field with typing filter, clamp on focus-out and stepping.
#include "editor/number_editor.h"

#include "editor/character_validator.h"
#include "editor/split_arrow_button.h"
#include "scene/display_texts.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace lumo {

bool IsNumberFieldCharacter(QChar c)
{
    return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9');
}

NumberEditor::NumberEditor(int minimum, int maximum, QWidget* parent)
    : QLineEdit(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_arrows(new SplitArrowButton(this))
{
    setTextMargins(0, 0, kArrowWidth, 0);
    AcceptOnly(this, IsNumberFieldCharacter);
    setText(QString::number(ClampInt(0, minimum, maximum)));
    connect(m_arrows, &SplitArrowButton::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
    connect(m_arrows, &SplitArrowButton::stepped, this, &NumberEditor::stepBy);
}

int NumberEditor::value() const
{
    return ParseWholeNumber(text()).value_or(m_minimum);
}

void NumberEditor::setValue(std::int64_t value)
{
    const QString shown = QString::number(ClampInt(value, m_minimum, m_maximum));
    if (shown != text()) setText(shown);
}

void NumberEditor::stepBy(int step)
{
    setValue(std::int64_t{value()} + step);
}

void NumberEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEditor::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Switching windows or opening a menu leaves the focus in the field: no clamp then.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    const auto number = ParseWholeNumber(text());
    if (number && (*number < m_minimum || *number > m_maximum)) setValue(*number);
}

void NumberEditor::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    m_arrows->setGeometry(width() - kArrowWidth - 2, 2, kArrowWidth, height() - 4);
}

} // namespace lumo
