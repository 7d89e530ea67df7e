// The engine object, its match collection and Replace. The pattern is compiled on first use after a
// change of pattern or settings and kept for the following Execute and Replace calls.
#include "platform/regexp.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/regexp_pcre.h"
#include "platform/regexp_replacement.h"

namespace platform {

std::optional<std::u16string_view> SubMatchList::Item(int index) const {
    if (index < 0 || index >= groupCount_) {
        return std::nullopt;
    }
    std::size_t start = offsets_[2 * index];
    std::size_t end = offsets_[2 * index + 1];
    if (start == PCRE2_UNSET || end == PCRE2_UNSET || start > end) {
        return std::u16string_view();
    }
    return subject_.substr(start, end - start);
}

MatchCollection::MatchCollection(std::shared_ptr<const std::u16string> subject, int groupCount)
    : subject_(std::move(subject)),
      groupCount_(groupCount),
      stride_(2 * (static_cast<std::size_t>(groupCount) + 1)) {}

int MatchCollection::Count() const {
    std::size_t count = offsets_.size() / stride_;
    return count > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

std::optional<Match> MatchCollection::Item(int index) const {
    if (index < 0 || index >= Count()) {
        return std::nullopt;
    }
    return Match(*subject_, offsets_.data() + static_cast<std::size_t>(index) * stride_, groupCount_);
}

void MatchCollection::Append(const std::size_t* offsets) {
    offsets_.insert(offsets_.end(), offsets, offsets + stride_);
}

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

void RegExp::SetPattern(std::u16string_view pattern) {
    pattern_ = pattern;
    SettingsChanged();
}

void RegExp::SetIgnoreCase(bool ignoreCase) {
    ignoreCase_ = ignoreCase;
    SettingsChanged();
}

void RegExp::SetMultiline(bool multiline) {
    multiline_ = multiline;
    SettingsChanged();
}

// Global is applied when matching, not compiled into the pattern.
void RegExp::SetGlobal(bool global) {
    global_ = global;
}

void RegExp::SettingsChanged() {
    compiled_.reset();
    compileTried_ = false;
}

const pcre::CompiledPattern* RegExp::Compiled() {
    if (!compileTried_) {
        compiled_ = pcre::Compile(pattern_, {.ignoreCase = ignoreCase_, .multiline = multiline_});
        compileTried_ = true;
    }
    return compiled_.get();
}

std::unique_ptr<MatchCollection> RegExp::Execute(std::shared_ptr<const std::u16string> subject) {
    const pcre::CompiledPattern* compiled = Compiled();
    if (compiled == nullptr || !subject) {
        return nullptr;
    }
    auto matches = std::make_unique<MatchCollection>(subject, compiled->groupCount);
    pcre::ScanEnd end = pcre::Scan(*compiled, *subject, global_,
                                   [&matches](const std::size_t* offsets) { matches->Append(offsets); });
    if (end == pcre::ScanEnd::LimitReached) {
        matches->MarkIncomplete();
    }
    return matches;
}

std::unique_ptr<MatchCollection> RegExp::Execute(std::u16string_view subject) {
    return Execute(std::make_shared<const std::u16string>(subject));
}

std::optional<std::u16string> RegExp::Replace(std::u16string_view subject, std::u16string_view replacement) {
    const pcre::CompiledPattern* compiled = Compiled();
    if (compiled == nullptr) {
        return std::nullopt;
    }
    std::u16string out;
    std::size_t copiedUpTo = 0;
    pcre::Scan(*compiled, subject, global_, [&](const std::size_t* offsets) {
        if (offsets[0] >= copiedUpTo) {
            out.append(subject.substr(copiedUpTo, offsets[0] - copiedUpTo));
        }
        AppendReplacement(out, replacement, subject, offsets, compiled->groupCount);
        copiedUpTo = std::max(copiedUpTo, offsets[1]);
    });
    out.append(subject.substr(copiedUpTo));
    return out;
}

}  // namespace platform
