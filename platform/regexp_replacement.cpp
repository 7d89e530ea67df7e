// Filling in a replacement template. A "$" that starts none of the forms stays literal, as does a
// group number the pattern does not have; of two digits, the second is taken only when the
// two-digit group exists.
#include "platform/regexp_replacement.h"

namespace platform {
namespace {

constexpr std::size_t kUnset = static_cast<std::size_t>(-1);

bool IsDigit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}

// The group a "$" at `dollar` names and the length of its form; {0, 0} when it names none.
struct GroupReference {
    int group = 0;
    std::size_t length = 0;
};

GroupReference ReadGroupReference(std::u16string_view replacement, std::size_t dollar, int groupCount) {
    std::size_t first = dollar + 1;
    if (first >= replacement.size() || !IsDigit(replacement[first])) {
        return {};
    }
    int one = replacement[first] - u'0';
    if (first + 1 < replacement.size() && IsDigit(replacement[first + 1])) {
        int two = one * 10 + (replacement[first + 1] - u'0');
        if (two >= 1 && two <= groupCount) {
            return {two, 3};
        }
    }
    if (one >= 1 && one <= groupCount) {
        return {one, 2};
    }
    return {};
}

void AppendSpan(std::u16string& out, std::u16string_view subject, std::size_t start, std::size_t end) {
    if (start != kUnset && end != kUnset && start <= end && end <= subject.size()) {
        out.append(subject.substr(start, end - start));
    }
}

}  // namespace

void AppendReplacement(std::u16string& out, std::u16string_view replacement, std::u16string_view subject,
                       const std::size_t* offsets, int groupCount) {
    const std::size_t matchStart = offsets[0];
    const std::size_t matchEnd = offsets[1];
    std::size_t pos = 0;
    while (pos < replacement.size()) {
        std::size_t dollar = replacement.find(u'$', pos);
        out.append(replacement.substr(pos, dollar - pos));
        if (dollar == std::u16string_view::npos) {
            return;
        }
        char16_t next = dollar + 1 < replacement.size() ? replacement[dollar + 1] : u'\0';
        GroupReference reference = ReadGroupReference(replacement, dollar, groupCount);
        if (reference.length > 0) {
            AppendSpan(out, subject, offsets[2 * reference.group], offsets[2 * reference.group + 1]);
            pos = dollar + reference.length;
        } else if (next == u'$') {
            out.push_back(u'$');
            pos = dollar + 2;
        } else if (next == u'&') {
            AppendSpan(out, subject, matchStart, matchEnd);
            pos = dollar + 2;
        } else if (next == u'`') {
            AppendSpan(out, subject, 0, matchStart);
            pos = dollar + 2;
        } else if (next == u'\'') {
            AppendSpan(out, subject, matchEnd, subject.size());
            pos = dollar + 2;
        } else {
            out.push_back(u'$');
            pos = dollar + 1;
        }
    }
}

}  // namespace platform
