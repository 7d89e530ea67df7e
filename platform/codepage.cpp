// Conversions between program text (GB18030), UTF-16, UTF-8 and the charsets web pages declare.
// ASCII runs are copied directly; only the runs of other characters go through iconv, so mostly
// ASCII pages convert at memory speed.
#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace platform::codepage {
namespace {

constexpr const char* kProgramCharset = "GB18030";
constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacementCharacter = u'\uFFFD';

// One iconv descriptor, closed on every road.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (Valid()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts `input` with `cd`, appending to `out`. At a malformed or truncated sequence, `replace` is
// appended and one input unit of `step` bytes is skipped, so the rest is still converted.
template <typename Out>
void ConvertAll(iconv_t cd, std::string_view input, std::size_t step, Out& out,
                const typename Out::value_type* replace, std::size_t replaceLength) {
    using Unit = typename Out::value_type;
    std::array<char, 16384> buffer;
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        std::size_t produced = buffer.size() - outLeft;
        out.append(reinterpret_cast<const Unit*>(buffer.data()), produced / sizeof(Unit));
        if (error == EILSEQ || error == EINVAL) {
            out.append(replace, replaceLength);
            std::size_t skip = std::min(step, inLeft);
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
}

bool IsAscii(unsigned char byte) {
    return byte < 0x80;
}

// End of the run of non-ASCII characters of program text that starts at `pos`.
std::size_t NonAsciiRunEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && !IsAscii(static_cast<unsigned char>(text[pos]))) {
        pos += CharacterLength(text, pos);
    }
    return std::min(pos, text.size());
}

// Appends the ASCII run of `text` that starts at `pos`; returns where it ends.
std::size_t AppendAsciiRun(std::string_view text, std::size_t pos, std::u16string& out) {
    std::size_t end = pos;
    while (end < text.size() && IsAscii(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    std::size_t old = out.size();
    out.resize(old + (end - pos));
    std::copy(text.begin() + pos, text.begin() + end, out.begin() + old);
    return end;
}

std::size_t AppendAsciiRun(std::u16string_view units, std::size_t pos, std::string& out) {
    std::size_t end = pos;
    while (end < units.size() && units[end] < 0x80) {
        ++end;
    }
    std::size_t old = out.size();
    out.resize(old + (end - pos));
    std::copy(units.begin() + pos, units.begin() + end, out.begin() + old);
    return end;
}

// Converts program text or UTF-8 to UTF-16 with `cd`, with an ASCII fast path.
std::u16string ToUtf16(std::string_view text, const IconvHandle& cd, bool gbRuns) {
    std::u16string out;
    out.reserve(text.size());
    if (cd.Valid()) {
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        pos = AppendAsciiRun(text, pos, out);
        if (pos == text.size()) {
            break;
        }
        std::size_t end = gbRuns ? NonAsciiRunEnd(text, pos) : pos;
        if (!gbRuns) {
            while (end < text.size() && !IsAscii(static_cast<unsigned char>(text[end]))) {
                ++end;
            }
        }
        if (cd.Valid()) {
            ConvertAll(cd.Get(), text.substr(pos, end - pos), 1, out, &kReplacementCharacter, 1);
        } else {
            out.append(end - pos, kReplacementCharacter);
        }
        pos = end;
    }
    return out;
}

std::u16string ToUtf16(std::string_view text, const char* from, bool gbRuns) {
    IconvHandle cd(kUtf16Native, from);
    return ToUtf16(text, cd, gbRuns);
}

// Converts UTF-16 to program text or UTF-8 with `cd`, with an ASCII fast path.
std::string FromUtf16(std::u16string_view units, const IconvHandle& cd, std::string_view replacement) {
    std::string out;
    out.reserve(units.size());
    if (cd.Valid()) {
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    std::size_t pos = 0;
    while (pos < units.size()) {
        pos = AppendAsciiRun(units, pos, out);
        if (pos == units.size()) {
            break;
        }
        std::size_t end = pos;
        while (end < units.size() && units[end] >= 0x80) {
            ++end;
        }
        std::string_view run(reinterpret_cast<const char*>(units.data() + pos),
                             (end - pos) * sizeof(char16_t));
        if (cd.Valid()) {
            ConvertAll(cd.Get(), run, sizeof(char16_t), out, replacement.data(), replacement.size());
        } else {
            for (std::size_t i = pos; i < end; ++i) {
                out.append(replacement);
            }
        }
        pos = end;
    }
    return out;
}

std::string FromUtf16(std::u16string_view units, const char* to, std::string_view replacement) {
    IconvHandle cd(to, kUtf16Native);
    return FromUtf16(units, cd, replacement);
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    });
    return out;
}

bool IsCharsetNameCharacter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

// The iconv name for a charset label, or empty when the label cannot be a charset name at all.
std::string IconvNameFor(std::string_view label) {
    std::string name = Lowered(label);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.pop_back();
    }
    name.erase(0, std::min(name.find_first_not_of(" \t"), name.size()));
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsCharsetNameCharacter)) {
        return {};
    }
    static constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
        {"utf8", "UTF-8"},
        {"utf-8", "UTF-8"},
        {"unicode-1-1-utf-8", "UTF-8"},
        {"gbk", "GB18030"},
        {"gb2312", "GB18030"},
        {"x-gbk", "GB18030"},
        {"cp936", "GB18030"},
        {"ms936", "GB18030"},
        {"windows-936", "GB18030"},
        {"gb_2312", "GB18030"},
        {"gb_2312-80", "GB18030"},
        {"csgb2312", "GB18030"},
        {"euc-cn", "GB18030"},
        {"x-euc-cn", "GB18030"},
        {"chinese", "GB18030"},
        {"iso-ir-58", "GB18030"},
        {"gb18030", "GB18030"},
        {"big5", "BIG5-HKSCS"},
        {"big5-hkscs", "BIG5-HKSCS"},
        {"x-x-big5", "BIG5-HKSCS"},
        {"cn-big5", "BIG5-HKSCS"},
        {"shift_jis", "CP932"},
        {"shift-jis", "CP932"},
        {"sjis", "CP932"},
        {"x-sjis", "CP932"},
        {"ms_kanji", "CP932"},
        {"windows-31j", "CP932"},
        {"euc-kr", "CP949"},
        {"ks_c_5601-1987", "CP949"},
        {"euc-jp", "EUC-JP"},
        {"iso-8859-1", "WINDOWS-1252"},
        {"latin1", "WINDOWS-1252"},
        {"l1", "WINDOWS-1252"},
        {"ascii", "WINDOWS-1252"},
        {"us-ascii", "WINDOWS-1252"},
        {"iso8859-1", "WINDOWS-1252"},
        {"windows-1252", "WINDOWS-1252"},
        {"cp1252", "WINDOWS-1252"},
        {"utf-16", "UTF-16LE"},
        {"utf-16le", "UTF-16LE"},
        {"utf-16be", "UTF-16BE"},
    };
    for (const auto& [alias, iconvName] : kAliases) {
        if (name == alias) {
            return std::string(iconvName);
        }
    }
    return name;
}

}  // namespace

std::size_t CharacterLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return 0;
    }
    if (IsAscii(static_cast<unsigned char>(text[pos])) || pos + 1 >= text.size()) {
        return 1;
    }
    unsigned char second = static_cast<unsigned char>(text[pos + 1]);
    if (second >= 0x30 && second <= 0x39 && pos + 3 < text.size()) {
        return 4;
    }
    return 2;
}

std::u16string TextToUtf16(std::string_view text) {
    return ToUtf16(text, kProgramCharset, true);
}

std::string Utf16ToText(std::u16string_view units) {
    return FromUtf16(units.substr(0, units.find(u'\0')), kProgramCharset, "?");
}

std::string TextToUtf8(std::string_view text) {
    std::u16string units = TextToUtf16(text);
    return FromUtf16(units, "UTF-8", "\xEF\xBF\xBD");
}

std::string Utf8ToText(std::string_view utf8) {
    return FromUtf16(ToUtf16(utf8, "UTF-8", false), kProgramCharset, "?");
}

std::optional<std::string> DecodeCharset(std::string_view bytes, std::string_view charsetName) {
    std::string iconvName = IconvNameFor(charsetName);
    if (iconvName.empty()) {
        return std::nullopt;
    }
    if (iconvName == "UTF-8") {
        return Utf8ToText(bytes);
    }
    IconvHandle cd(kUtf16Native, iconvName.c_str());
    if (!cd.Valid()) {
        return std::nullopt;
    }
    std::u16string units;
    units.reserve(bytes.size());
    ConvertAll(cd.Get(), bytes, 1, units, &kReplacementCharacter, 1);
    return FromUtf16(units, kProgramCharset, "?");
}

struct Utf16Codec::Descriptors {
    IconvHandle toUtf16{kUtf16Native, kProgramCharset};
    IconvHandle toText{kProgramCharset, kUtf16Native};
};

Utf16Codec::Utf16Codec() : descriptors_(std::make_unique<Descriptors>()) {}
Utf16Codec::~Utf16Codec() = default;

std::u16string Utf16Codec::ToUtf16(std::string_view text) const {
    return platform::codepage::ToUtf16(text, descriptors_->toUtf16, true);
}

std::string Utf16Codec::ToText(std::u16string_view units) const {
    return FromUtf16(units.substr(0, units.find(u'\0')), descriptors_->toText, "?");
}

}  // namespace platform::codepage
