// DecodeResultText: two passes over the text, each walking it character by character (a GBK trail
// byte can be a backslash) and letting a reader decode at each marker byte. Decoded characters wait
// as UTF-16 and go through the codec in runs, so a title written entirely as escapes costs one
// conversion, and a text without references or escapes costs none.
#include "search/result_text_decoding.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/codepage.h"

namespace {

using platform::codepage::Utf16Codec;

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}
bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A code point that a reference or escape may stand for: NUL would end the text at the widgets.
bool IsDecodable(char32_t codePoint) {
    return codePoint != 0 && codePoint <= kLastCodePoint && !IsSurrogate(codePoint);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The value of exactly `count` hex digits at `pos`; nullopt when there are fewer.
std::optional<char32_t> ReadHexDigits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) {
        return std::nullopt;
    }
    char32_t value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

// The decoded text of one pass. The codec is opened at the first character that needs it and
// shared by both passes.
class DecodedText {
public:
    explicit DecodedText(std::optional<Utf16Codec>& codec) : codec_(codec) {}

    void AppendText(std::string_view text) {
        Flush();
        out_.append(text);
    }

    void AppendCodePoint(char32_t codePoint) {
        if (codePoint < 0x10000) {
            pending_.push_back(static_cast<char16_t>(codePoint));
            return;
        }
        codePoint -= 0x10000;
        pending_.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        pending_.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }

    std::string Take() {
        Flush();
        return std::move(out_);
    }

private:
    void Flush() {
        if (pending_.empty()) {
            return;
        }
        if (std::all_of(pending_.begin(), pending_.end(), [](char16_t unit) { return unit < 0x80; })) {
            out_.append(pending_.begin(), pending_.end());
        } else {
            if (!codec_) {
                codec_.emplace();
            }
            out_ += codec_->ToText(pending_);
        }
        pending_.clear();
    }

    std::optional<Utf16Codec>& codec_;
    std::string out_;
    std::u16string pending_;
};

// Decodes the reference or escape whose marker is at `pos` into `out` and returns the bytes it
// consumed; 0 when there is none, and then nothing is appended.
using EscapeReader = std::size_t (*)(std::string_view text, std::size_t pos, DecodedText& out);

// One pass: the text is copied character by character, and each `marker` byte that starts a
// character is offered to `readEscape`. A marker that starts nothing is copied as it stands and the
// walk goes on right after it, so every byte is looked at a bounded number of times.
std::string DecodePass(std::string_view text, char marker, EscapeReader readEscape,
                       std::optional<Utf16Codec>& codec) {
    DecodedText out(codec);
    std::size_t copiedUpTo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != marker) {
            const bool ascii = static_cast<unsigned char>(text[pos]) < 0x80;
            pos += ascii ? 1 : platform::codepage::CharacterLength(text, pos);
            continue;
        }
        out.AppendText(text.substr(copiedUpTo, pos - copiedUpTo));
        copiedUpTo = pos;
        const std::size_t consumed = readEscape(text, pos, out);
        if (consumed == 0) {
            ++pos;  // the marker is copied with the run that follows it
        } else {
            pos += consumed;
            copiedUpTo = pos;
        }
    }
    out.AppendText(text.substr(copiedUpTo));
    return out.Take();
}

struct NamedReference {
    std::string_view name;
    char32_t codePoint;
};

// The named references result pages write, and the usual typographic ones.
constexpr std::array kNamedReferences = {
    NamedReference{"quot", U'"'},    NamedReference{"amp", U'&'},      NamedReference{"apos", U'\''},
    NamedReference{"lt", U'<'},      NamedReference{"gt", U'>'},       NamedReference{"nbsp", 0xA0},
    NamedReference{"QUOT", U'"'},    NamedReference{"AMP", U'&'},      NamedReference{"LT", U'<'},
    NamedReference{"GT", U'>'},      NamedReference{"copy", 0xA9},     NamedReference{"reg", 0xAE},
    NamedReference{"trade", 0x2122}, NamedReference{"hellip", 0x2026}, NamedReference{"mdash", 0x2014},
    NamedReference{"ndash", 0x2013}, NamedReference{"middot", 0xB7},   NamedReference{"bull", 0x2022},
    NamedReference{"laquo", 0xAB},   NamedReference{"raquo", 0xBB},    NamedReference{"lsquo", 0x2018},
    NamedReference{"rsquo", 0x2019}, NamedReference{"ldquo", 0x201C},  NamedReference{"rdquo", 0x201D},
    NamedReference{"times", 0xD7},   NamedReference{"divide", 0xF7},   NamedReference{"yen", 0xA5},
    NamedReference{"deg", 0xB0},     NamedReference{"plusmn", 0xB1},   NamedReference{"ensp", 0x2002},
    NamedReference{"emsp", 0x2003},  NamedReference{"thinsp", 0x2009},
};
constexpr std::size_t kLongestName = 6;

bool IsAsciiAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "&name;" with a name of the table.
std::size_t ReadNamedReference(std::string_view text, std::size_t pos, DecodedText& out) {
    const std::size_t nameStart = pos + 1;
    std::size_t nameEnd = nameStart;
    while (nameEnd < text.size() && nameEnd - nameStart <= kLongestName &&
           IsAsciiAlphanumeric(text[nameEnd])) {
        ++nameEnd;
    }
    if (nameEnd >= text.size() || text[nameEnd] != ';') {
        return 0;
    }
    const std::string_view name = text.substr(nameStart, nameEnd - nameStart);
    for (const NamedReference& reference : kNamedReferences) {
        if (reference.name == name) {
            out.AppendCodePoint(reference.codePoint);
            return nameEnd + 1 - pos;
        }
    }
    return 0;
}

// "&#digits;" or "&#xhex;". The value stops growing once it is out of range, so a long run of digits
// cannot overflow it.
std::size_t ReadNumericReference(std::string_view text, std::size_t pos, DecodedText& out) {
    std::size_t digitsStart = pos + 2;
    const bool hex = digitsStart < text.size() && (text[digitsStart] == 'x' || text[digitsStart] == 'X');
    const char32_t base = hex ? 16 : 10;
    digitsStart += hex ? 1 : 0;
    std::size_t end = digitsStart;
    char32_t value = 0;
    for (; end < text.size(); ++end) {
        const int digit = HexDigitValue(text[end]);
        if (digit < 0 || static_cast<char32_t>(digit) >= base) {
            break;
        }
        value = std::min(value * base + static_cast<char32_t>(digit), kLastCodePoint + 1);
    }
    if (end == digitsStart || end >= text.size() || text[end] != ';' || !IsDecodable(value)) {
        return 0;
    }
    out.AppendCodePoint(value);
    return end + 1 - pos;
}

std::size_t ReadCharacterReference(std::string_view text, std::size_t pos, DecodedText& out) {
    if (pos + 1 < text.size() && text[pos + 1] == '#') {
        return ReadNumericReference(text, pos, out);
    }
    return ReadNamedReference(text, pos, out);
}

// "\uXXXX", or a pair "\uD8xx\uDCxx" that makes one character. A surrogate outside a pair stays.
std::size_t ReadUnicodeEscape(std::string_view text, std::size_t pos, DecodedText& out) {
    constexpr std::size_t kLength = 6;
    const std::optional<char32_t> unit = ReadHexDigits(text, pos + 2, 4);
    if (!unit) {
        return 0;
    }
    if (IsHighSurrogate(*unit) && text.substr(pos + kLength, 2) == "\\u") {
        const std::optional<char32_t> low = ReadHexDigits(text, pos + kLength + 2, 4);
        if (low && IsLowSurrogate(*low)) {
            out.AppendCodePoint(0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
            return 2 * kLength;
        }
    }
    if (!IsDecodable(*unit)) {
        return 0;
    }
    out.AppendCodePoint(*unit);
    return kLength;
}

// "\xHH", a Latin-1 character.
std::size_t ReadHexEscape(std::string_view text, std::size_t pos, DecodedText& out) {
    const std::optional<char32_t> value = ReadHexDigits(text, pos + 2, 2);
    if (!value || !IsDecodable(*value)) {
        return 0;
    }
    out.AppendCodePoint(*value);
    return 4;
}

std::size_t ReadScriptEscape(std::string_view text, std::size_t pos, DecodedText& out) {
    if (pos + 1 >= text.size()) {
        return 0;
    }
    switch (text[pos + 1]) {
        case 'u':
            return ReadUnicodeEscape(text, pos, out);
        case 'x':
            return ReadHexEscape(text, pos, out);
        case '"':
        case '\'':
        case '\\':
        case '/':
            out.AppendText(text.substr(pos + 1, 1));
            return 2;
        case 'n':
            out.AppendText("\n");
            return 2;
        case 'r':
            out.AppendText("\r");
            return 2;
        case 't':
            out.AppendText("\t");
            return 2;
        default:
            return 0;
    }
}

}  // namespace

std::string DecodeResultText(std::string_view text) {
    if (text.find('&') == std::string_view::npos && text.find('\\') == std::string_view::npos) {
        return std::string(text);
    }
    std::optional<Utf16Codec> codec;
    const std::string referencesRead = DecodePass(text, '&', ReadCharacterReference, codec);
    return DecodePass(referencesRead, '\\', ReadScriptEscape, codec);
}
