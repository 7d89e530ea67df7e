// A single-line box for whole numbers: of the characters the user types only digits and "-" are
// taken (pasted text is not filtered), and on leaving the box its text is normalised to the number
// it reads as, clamped to 32 bits, with 0 shown as an empty box.
#pragma once

#include <QLineEdit>
#include <QString>

// The text a box holding `text` shows after losing the focus: read as a 64-bit decimal integer
// (leading white space skipped, an optional sign, the digits up to the first non-digit, no digits
// giving 0), clamped to -2147483648..2147483647, written in plain decimal; 0 becomes "".
QString NormalisedIntegerText(const QString& text);

class IntegerEdit : public QLineEdit {
public:
    explicit IntegerEdit(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
