// RegexMatcher over the platform's regular-expression engine. The subject is converted to UTF-16 once
// per execution and shared with the match collection; a read converts only the text it returns.
#include "regex/regex_matcher.h"

#include <climits>
#include <optional>

#include "platform/codepage.h"
#include "platform/com.h"
#include "platform/regexp.h"

namespace {

namespace codepage = platform::codepage;

// "#" followed by 引号, in program text.
constexpr std::string_view kQuoteMarker = "#\xD2\xFD\xBA\xC5";
constexpr int kNotFound = -2;

std::string ExpandQuoteMarker(std::string_view pattern) {
    std::string expanded;
    std::size_t pos = 0;
    for (std::size_t marker = pattern.find(kQuoteMarker); marker != std::string_view::npos;
         marker = pattern.find(kQuoteMarker, pos)) {
        expanded.append(pattern.substr(pos, marker - pos));
        expanded.push_back('"');
        pos = marker + kQuoteMarker.size();
    }
    expanded.append(pattern.substr(pos));
    return expanded;
}

// A 1-based index as the engine's 0-based one; nullopt for 0 and below.
std::optional<int> ZeroBased(int index) {
    if (index < 1) {
        return std::nullopt;
    }
    return index - 1;
}

// UTF-16 to program text, keeping NUL units as NUL bytes, so that offsets past one stay true.
std::string SubjectToText(const codepage::Utf16Codec& codec, std::u16string_view units) {
    std::string text;
    for (std::size_t pos = 0; pos <= units.size();) {
        std::size_t nul = std::min(units.find(u'\0', pos), units.size());
        text += codec.ToText(units.substr(pos, nul - pos));
        if (nul < units.size()) {
            text.push_back('\0');
        }
        pos = nul + 1;
    }
    return text;
}

}  // namespace

RegexMatcher::RegexMatcher() : codec_(std::make_unique<codepage::Utf16Codec>()) {
    platform::com::Initialize();
}

RegexMatcher::~RegexMatcher() {
    matches_.reset();
    engine_.reset();
    subjectText_.reset();
    codec_.reset();
    platform::com::Uninitialize();
}

bool RegexMatcher::ExecutePattern(std::string_view pattern, std::string_view subject, bool caseSensitive,
                                  bool multiline, bool global, bool expandQuoteMarker) {
    matches_.reset();
    engine_ = std::make_unique<platform::RegExp>();
    engine_->SetIgnoreCase(!caseSensitive);
    engine_->SetMultiline(multiline);
    engine_->SetGlobal(global);
    engine_->SetPattern(
        codec_->ToUtf16(expandQuoteMarker ? ExpandQuoteMarker(pattern) : std::string(pattern)));
    subjectText_ = std::make_shared<const std::u16string>(codec_->ToUtf16(subject));
    matches_ = engine_->Execute(subjectText_);
    return matches_ != nullptr;
}

std::string RegexMatcher::GetPattern() const {
    if (!engine_) {
        return {};
    }
    return codec_->ToText(engine_->Pattern());
}

std::string RegexMatcher::ReplaceMatches(std::string_view replacement) const {
    if (!engine_ || !subjectText_) {
        return {};
    }
    std::optional<std::u16string> replaced = engine_->Replace(*subjectText_, codec_->ToUtf16(replacement));
    return replaced ? codec_->ToText(*replaced) : std::string();
}

int RegexMatcher::MatchCount() const {
    return matches_ ? matches_->Count() : 0;
}

std::string RegexMatcher::MatchText(int matchIndex, int* position) const {
    std::optional<platform::Match> match;
    if (std::optional<int> index = ZeroBased(matchIndex); index && matches_) {
        match = matches_->Item(*index);
    }
    std::string text = match ? codec_->ToText(match->Value()) : std::string();
    if (position != nullptr) {
        *position = LocateInSubject(match ? match->FirstIndex() : 0, text);
    }
    return text;
}

std::string RegexMatcher::SubMatchText(int matchIndex, int groupIndex, int* position) const {
    std::optional<platform::Match> match;
    if (std::optional<int> index = ZeroBased(matchIndex); index && matches_) {
        match = matches_->Item(*index);
    }
    std::optional<std::u16string_view> group;
    if (std::optional<int> index = ZeroBased(groupIndex); index && match) {
        group = match->SubMatches().Item(*index);
    }
    std::string text = group ? codec_->ToText(*group) : std::string();
    if (position != nullptr) {
        *position = LocateInSubject(match ? match->FirstIndex() : 0, text);
    }
    return text;
}

int RegexMatcher::SubMatchCount() const {
    std::optional<platform::Match> first = matches_ ? matches_->Item(0) : std::nullopt;
    return first ? first->SubMatches().Count() : 0;
}

// The search starts at the match's own byte offset, found by converting the subject in two parts
// split at the match; it compares exactly, as the text was taken from the subject itself.
int RegexMatcher::LocateInSubject(std::size_t firstIndex, std::string_view text) const {
    std::u16string_view subject = subjectText_ ? std::u16string_view(*subjectText_) : std::u16string_view();
    firstIndex = std::min(firstIndex, subject.size());
    std::string narrow = SubjectToText(*codec_, subject.substr(0, firstIndex));
    const std::size_t start = narrow.size();
    narrow += SubjectToText(*codec_, subject.substr(firstIndex));
    if (text.empty()) {
        return start < narrow.size() ? 0 : kNotFound;
    }
    for (std::size_t pos = start; pos + text.size() <= narrow.size();
         pos += codepage::CharacterLength(narrow, pos)) {
        if (narrow.compare(pos, text.size(), text) == 0) {
            return pos <= static_cast<std::size_t>(INT_MAX) ? static_cast<int>(pos) : kNotFound;
        }
    }
    return kNotFound;
}
