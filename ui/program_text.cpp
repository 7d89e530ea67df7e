// Program text (GB18030 bytes) at the widgets, which speak UTF-16.
#include "ui/program_text.h"

#include "platform/codepage.h"

QString ToQString(std::string_view text) {
    return QString::fromStdU16String(platform::codepage::TextToUtf16(text));
}

std::string ToProgramText(const QString& text) {
    return platform::codepage::Utf16ToText(text.toStdU16String());
}
