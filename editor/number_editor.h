// A text field for a whole number with the split arrow button at its right end. Takes "+",
// "-" and digits only, typed, pasted or dropped; reads a non-number as the lower bound, keeps an out-of-range number
// while focused and replaces it by the nearest bound when the focus leaves; the arrows and
// the cursor keys step by 1 within the range. Every change of the shown text, typed, stepped
// or set by the program, emits textChanged, which is where its owner stores the value.
#pragma once

#include <QLineEdit>

#include <cstdint>

namespace lumo {

class SplitArrowButton;

class NumberEditor : public QLineEdit {
    Q_OBJECT
public:
    NumberEditor(int minimum, int maximum, QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // The number shown, as typed (not clamped); the lower bound for a text that is no number.
    int value() const;
    // Shows `value` limited to the range.
    void setValue(std::int64_t value);
    // One step of +1 or -1 from the shown value, within the range; the same text changes nothing.
    void stepBy(int step);

    SplitArrowButton* arrows() const { return m_arrows; }

    static constexpr int kArrowWidth = 17;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_minimum;
    int m_maximum;
    SplitArrowButton* m_arrows;
};

// True for the characters a number field holds: "+", "-" and digits. Any other character,
// typed, pasted or dropped, is refused with a beep; editing keys such as backspace still work.
bool IsNumberFieldCharacter(QChar c);

} // namespace lumo
