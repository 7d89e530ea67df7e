// Blacklist splitting and the containment test, walking program text by whole characters.
#include "search/blacklist.h"

#include "platform/codepage.h"

using platform::codepage::CharacterLength;

std::vector<std::string> SplitBlacklist(std::string_view blacklist) {
    std::vector<std::string> keywords;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < blacklist.size(); pos += CharacterLength(blacklist, pos)) {
        if (blacklist[pos] == '|') {
            keywords.emplace_back(blacklist.substr(start, pos - start));
            start = pos + 1;
        }
    }
    if (start < blacklist.size()) {
        keywords.emplace_back(blacklist.substr(start));
    }
    return keywords;
}

bool TitleContains(std::string_view title, std::string_view keyword) {
    if (keyword.empty()) {
        return !title.empty();
    }
    for (std::size_t pos = 0; pos + keyword.size() <= title.size(); pos += CharacterLength(title, pos)) {
        if (title.compare(pos, keyword.size(), keyword) == 0) {
            return true;
        }
    }
    return false;
}
