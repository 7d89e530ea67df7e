// Program text and the encodings it meets.
//
// Program text is a byte string in GB18030, which is byte-identical to code page 936 (GBK) for every
// character GBK has and gives every other Unicode character a four-byte form. Text becomes UTF-16 at
// the regular-expression engine and the widgets, UTF-8 where a URL is escaped, and arrives in any
// charset a web page declares.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::codepage {

// Program text to UTF-16. Bytes that do not form a character become U+FFFD; nothing stops the
// conversion.
std::u16string TextToUtf16(std::string_view text);

// UTF-16 to program text. The text ends at the first NUL unit, as the Windows conversion ends there.
// A lone surrogate becomes "?".
std::string Utf16ToText(std::u16string_view units);

// TextToUtf16 and Utf16ToText for a caller that converts many small texts: it opens the conversions
// once instead of at every call. One instance belongs to one thread at a time.
class Utf16Codec {
public:
    Utf16Codec();
    ~Utf16Codec();
    Utf16Codec(const Utf16Codec&) = delete;
    Utf16Codec& operator=(const Utf16Codec&) = delete;

    std::u16string ToUtf16(std::string_view text) const;
    std::string ToText(std::u16string_view units) const;

private:
    struct Descriptors;
    std::unique_ptr<Descriptors> descriptors_;
};

// Program text to UTF-8 and back, with the same replacement rules.
std::string TextToUtf8(std::string_view text);
std::string Utf8ToText(std::string_view utf8);

// Decodes bytes from the charset a page names into program text. Names are matched without regard
// to letter case and with the usual aliases ("utf8", "gb2312", "x-gbk", "latin1", ...). Malformed
// input is replaced and the rest decoded. nullopt when the name is unknown: the caller then keeps the
// bytes as they are.
std::optional<std::string> DecodeCharset(std::string_view bytes, std::string_view charsetName);

// Length in bytes of the program-text character that starts at `text[pos]`: 1 for ASCII and for a
// stray byte, 2 for a double-byte character, 4 for a GB18030 four-byte sequence. Walking a text by
// this step never splits a character.
std::size_t CharacterLength(std::string_view text, std::size_t pos);

}  // namespace platform::codepage
