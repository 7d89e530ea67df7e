// A single-line box for whole numbers.
#include "ui/integer_edit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

bool IsAcceptedCharacter(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-';
}

// Control characters (Backspace, the clipboard shortcuts) are not typed text and always pass; some
// platforms send a shortcut's letter with the Ctrl modifier instead of a control character.
bool IsTypedText(const QKeyEvent& event) {
    const bool shortcut = event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    return !shortcut && !event.text().isEmpty() && event.text().front().isPrint();
}

QString AcceptedCharacters(const QString& text) {
    QString accepted;
    for (QChar c : text) {
        if (IsAcceptedCharacter(c)) {
            accepted += c;
        }
    }
    return accepted;
}

// Reads like the C runtime's 64-bit conversion: saturates instead of wrapping.
std::int64_t ReadInt64(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == u' ' || (text[pos] >= u'\t' && text[pos] <= u'\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    constexpr std::uint64_t kLimit = std::uint64_t{std::numeric_limits<std::int64_t>::max()} + 1;
    std::uint64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
        const unsigned digit = text[pos].unicode() - u'0';
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (negative) {
        return magnitude == kLimit ? std::numeric_limits<std::int64_t>::min()
                                   : -static_cast<std::int64_t>(magnitude);
    }
    return static_cast<std::int64_t>(std::min(magnitude, kLimit - 1));
}

}  // namespace

QString NormalisedIntegerText(const QString& text) {
    const std::int64_t value = std::clamp<std::int64_t>(
        ReadInt64(text), std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    return value == 0 ? QString() : QString::number(value);
}

IntegerEdit::IntegerEdit(QWidget* parent) : QLineEdit(parent) {}

void IntegerEdit::keyPressEvent(QKeyEvent* event) {
    if (IsTypedText(*event) && AcceptedCharacters(event->text()) != event->text()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void IntegerEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Text composed with an input method is typed text too.
    if (!event->commitString().isEmpty() &&
        AcceptedCharacters(event->commitString()) != event->commitString()) {
        QInputMethodEvent filtered(event->preeditString(), event->attributes());
        filtered.setCommitString(AcceptedCharacters(event->commitString()), event->replacementStart(),
                                 event->replacementLength());
        QLineEdit::inputMethodEvent(&filtered);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void IntegerEdit::focusOutEvent(QFocusEvent* event) {
    const QString normalised = NormalisedIntegerText(text());
    if (normalised != text()) {
        const int formerStart = hasSelectedText() ? selectionStart() : cursorPosition();
        setText(normalised);
        setCursorPosition(std::min<int>(formerStart, normalised.size()));
    }
    QLineEdit::focusOutEvent(event);
}
