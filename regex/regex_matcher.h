// RegexMatcher: executes one pattern over one subject and reads matches and capturing groups by
// 1-based index. It never reports an error: a rejected pattern, an index out of range or a read
// before any execution gives false, 0 or the empty text, and the instance stays usable.
//
// Texts are program text (GB18030); the engine works in UTF-16, so positions reported by the engine
// count UTF-16 units while the position outputs here are byte offsets into the program text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
class RegExp;
class MatchCollection;
namespace codepage {
class Utf16Codec;
}
}  // namespace platform

class RegexMatcher {
public:
    RegexMatcher();
    ~RegexMatcher();
    RegexMatcher(const RegexMatcher&) = delete;
    RegexMatcher& operator=(const RegexMatcher&) = delete;

    // True when the engine returned a match collection, also one with no matches. With
    // `expandQuoteMarker`, every "#引号" in the pattern stands for a double quotation mark. A pattern
    // that runs away on this subject yields the matches found before the engine gave up.
    bool ExecutePattern(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
                        bool multiline = true, bool global = true, bool expandQuoteMarker = false);

    // The engine's current pattern (after any "#引号" expansion); empty before the first execution.
    std::string GetPattern() const;

    // The last execution's pattern and settings applied to its subject; `$1`, `$&` and `$$` work in
    // the replacement. Empty without an engine or with a rejected pattern.
    std::string ReplaceMatches(std::string_view replacement = {}) const;

    int MatchCount() const;

    // The text of match `matchIndex`; `position`, when given, receives its 0-based byte offset in the
    // subject (-2 when it cannot be found).
    std::string MatchText(int matchIndex, int* position = nullptr) const;

    // The text of capturing group `groupIndex` of match `matchIndex`; empty when the group took no
    // part in the match.
    std::string SubMatchText(int matchIndex, int groupIndex, int* position = nullptr) const;

    // The number of capturing groups of the first match; 0 when there is no match.
    int SubMatchCount() const;

private:
    // Where `text` lies in the subject: a byte offset, searched from the match at `firstIndex`.
    int LocateInSubject(std::size_t firstIndex, std::string_view text) const;

    std::unique_ptr<platform::codepage::Utf16Codec> codec_;
    std::unique_ptr<platform::RegExp> engine_;
    std::unique_ptr<platform::MatchCollection> matches_;
    std::shared_ptr<const std::u16string> subjectText_;
};
