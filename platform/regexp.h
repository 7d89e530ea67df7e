// The regular-expression engine that RegexMatcher drives: a pattern with the IgnoreCase, Multiline and
// Global settings, Execute giving a collection of matches with their capturing groups, and Replace.
// The dialect is JavaScript-like: "." never matches a line feed, "$" without Multiline matches only
// at the very end, an unset group matches and reads as empty, `[]` never matches and `[^]` matches
// anything, and global matching steps one character past an empty match.
//
// Texts are UTF-16; indexes and lengths count UTF-16 units. A subject with lone surrogates is matched
// as if each of them were U+FFFD (one unit for one, so indexes are unchanged), and match texts are
// taken from the subject as given.
//
// Runaway patterns are bounded: when a match attempt reaches the engine's backtracking, memory or
// stack limit, or the whole search its time budget of a few seconds, the search ends there. The
// collection keeps the matches found before that point and reports itself incomplete; Replace
// replaces those matches and leaves the rest of the subject as it is.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

namespace pcre {
struct CompiledPattern;
}

// The capturing groups of one match, numbered from 0 here (group 1 of the pattern is item 0).
class SubMatchList {
public:
    int Count() const { return groupCount_; }

    // The text of the group; empty when the group took no part in the match; nullopt when there is no
    // such group.
    std::optional<std::u16string_view> Item(int index) const;

private:
    friend class Match;
    SubMatchList(std::u16string_view subject, const std::size_t* groupOffsets, int groupCount)
        : subject_(subject), offsets_(groupOffsets), groupCount_(groupCount) {}

    std::u16string_view subject_;
    const std::size_t* offsets_;
    int groupCount_;
};

// One match: a view into its collection, valid while the collection lives.
class Match {
public:
    std::u16string_view Value() const { return subject_.substr(FirstIndex(), Length()); }
    std::size_t FirstIndex() const { return offsets_[0]; }
    std::size_t Length() const { return offsets_[1] - offsets_[0]; }
    SubMatchList SubMatches() const { return SubMatchList(subject_, offsets_ + 2, groupCount_); }

private:
    friend class MatchCollection;
    Match(std::u16string_view subject, const std::size_t* offsets, int groupCount)
        : subject_(subject), offsets_(offsets), groupCount_(groupCount) {}

    std::u16string_view subject_;
    const std::size_t* offsets_;
    int groupCount_;
};

// The matches of one Execute, left to right, with the subject they index into.
class MatchCollection {
public:
    MatchCollection(std::shared_ptr<const std::u16string> subject, int groupCount);

    int Count() const;

    // Match `index` (0-based); nullopt outside 0 to Count() - 1.
    std::optional<Match> Item(int index) const;

    // False when a limit ended the search before the end of the subject.
    bool Complete() const { return complete_; }

    const std::u16string& Subject() const { return *subject_; }
    int GroupCount() const { return groupCount_; }

    // Building, used by the engine. `offsets` holds start and end of the match and of each group, in
    // that order, with std::size_t(-1) for a group that took no part.
    void Append(const std::size_t* offsets);
    void MarkIncomplete() { complete_ = false; }

private:
    std::shared_ptr<const std::u16string> subject_;
    int groupCount_;
    std::size_t stride_;
    std::vector<std::size_t> offsets_;
    bool complete_ = true;
};

class RegExp {
public:
    RegExp();
    ~RegExp();
    RegExp(const RegExp&) = delete;
    RegExp& operator=(const RegExp&) = delete;

    const std::u16string& Pattern() const { return pattern_; }
    void SetPattern(std::u16string_view pattern);
    bool IgnoreCase() const { return ignoreCase_; }
    void SetIgnoreCase(bool ignoreCase);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool multiline);
    bool Global() const { return global_; }
    void SetGlobal(bool global);

    // The matches of the pattern in `subject`: all of them with Global, else the first only. nullptr
    // when the pattern is rejected.
    std::unique_ptr<MatchCollection> Execute(std::shared_ptr<const std::u16string> subject);
    std::unique_ptr<MatchCollection> Execute(std::u16string_view subject);

    // `subject` with each match replaced by `replacement`, in which `$1` to `$99` stand for a group,
    // `$&` for the match, `` $` `` and `$'` for the text before and after it and `$$` for "$"; any
    // other "$" is literal. nullopt when the pattern is rejected.
    std::optional<std::u16string> Replace(std::u16string_view subject, std::u16string_view replacement);

private:
    // The pattern compiled with the present settings; nullptr when rejected. Compiled once per change.
    const pcre::CompiledPattern* Compiled();
    void SettingsChanged();

    std::u16string pattern_;
    bool ignoreCase_ = false;
    bool multiline_ = false;
    bool global_ = false;
    std::unique_ptr<pcre::CompiledPattern> compiled_;
    bool compileTried_ = false;
};

}  // namespace platform
