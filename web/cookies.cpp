// Cookie names, merging and the cookie of a Set-Cookie line.
#include "web/cookies.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "web/text_blanks.h"

namespace web {

namespace {

constexpr std::string_view kItemSeparator = "; ";
constexpr std::string_view kDeletedMark = "=deleted";

// Pieces between separators; empty pieces kept, a separator at the very end adds none, and the
// empty text has no pieces.
std::vector<std::string_view> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        std::size_t end = text.find(separator);
        pieces.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + separator.size());
    }
    return pieces;
}

std::string Join(const std::vector<std::string_view>& pieces, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i != 0) {
            joined += separator;
        }
        joined += pieces[i];
    }
    return joined;
}

// Trimmed, and with a final ";" followed by a blank so that its last item ends in "; " too.
std::string PrepareCookieText(std::string_view text) {
    std::string prepared(TrimBlanks(text));
    if (prepared.ends_with(';')) {
        prepared += ' ';
    }
    return prepared;
}

bool EqualsIgnoringAsciiCase(char a, char b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

std::string RemoveAllIgnoringCase(std::string_view text, std::string_view what) {
    std::string result;
    auto pos = text.begin();
    for (;;) {
        auto found = std::search(pos, text.end(), what.begin(), what.end(), EqualsIgnoringAsciiCase);
        result.append(pos, found);
        if (found == text.end()) {
            return result;
        }
        pos = found + static_cast<std::ptrdiff_t>(what.size());
    }
}

}  // namespace

std::string CookieName(std::string_view item) {
    return std::string(TrimBlanks(item.substr(0, item.find('='))));
}

// Sets instead of searches in lists: a cookie text of many thousand items must not take quadratic time.
std::string JoinUnique(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> unique;
    std::unordered_set<std::string_view> seen;
    for (std::string_view piece : Split(text, separator)) {
        if (seen.insert(piece).second) {
            unique.push_back(piece);
        }
    }
    return Join(unique, separator);
}

std::string MergeCookieText(std::string_view older, std::string_view newer) {
    std::string olderText = PrepareCookieText(older);
    std::string newerText = PrepareCookieText(newer);
    std::vector<std::string_view> items = Split(newerText, kItemSeparator);
    std::unordered_set<std::string> names;
    for (std::string_view item : items) {
        names.insert(CookieName(item));
    }
    for (std::string_view item : Split(olderText, kItemSeparator)) {
        if (names.insert(CookieName(item)).second) {
            items.push_back(item);
        }
    }
    std::vector<std::string_view> kept;
    std::copy_if(items.begin(), items.end(), std::back_inserter(kept),
                 [](std::string_view item) { return !item.ends_with(kDeletedMark); });
    return JoinUnique(Join(kept, kItemSeparator), kItemSeparator);
}

bool CookieFromHeaderLine(std::string_view line, std::string& cookie) {
    constexpr std::string_view kSetCookie = "Set-Cookie:";
    std::size_t nameEnd = line.find(": ");
    if (line.substr(0, nameEnd) != "Set-Cookie" || nameEnd == std::string_view::npos) {
        return false;
    }
    if (line.find(';') == std::string_view::npos) {
        cookie = std::string(TrimBlanks(RemoveAllIgnoringCase(line, kSetCookie)));
        return true;
    }
    std::size_t start = line.find(kSetCookie) + kSetCookie.size();
    std::size_t end = line.find(';', start);
    cookie = std::string(TrimBlanks(line.substr(start, end - start)));
    return true;
}

}  // namespace web
