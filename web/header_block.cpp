// The request header block, built in the engine's order: caller's lines, defaults, names, the
// Connection rule, the Cookie rule.
#include "web/header_block.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace web {

namespace {

struct DefaultHeader {
    std::string_view key;  // searched for anywhere in the block, ASCII letter case ignored
    std::string_view line;
    bool postOnly;
};

constexpr DefaultHeader kDefaultHeaderBlock[] = {
    {"User-Agent: ", "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n",
     false},
    {"Accept: ", "Accept: text/html, application/xhtml+xml, */*\r\n", false},
    {"Accept-Encoding: ", "Accept-Encoding: gbk, GB2312\r\n", false},
    {"Accept-Language: ", "Accept-Language: zh-cn\r\n", false},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded\r\n", true},
    {"Cache-Control: ", "Cache-Control: no-cache\r\n", false},
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view key) {
    auto found = std::search(text.begin(), text.end(), key.begin(), key.end(),
                             [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
    return found != text.end() || key.empty();
}

// Pieces between CR LF separators; empty pieces kept, a separator at the very end adds none.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        std::size_t end = text.find("\r\n");
        pieces.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 2);
    }
    return pieces;
}

// Rebuilt in one pass: erasing in place would move the rest of the block once per occurrence.
void RemoveAll(std::string& text, std::string_view what) {
    std::string kept;
    std::size_t from = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, from)) {
        kept.append(text, from, pos - from);
        from = pos + what.size();
    }
    if (from != 0) {
        kept.append(text, from);
        text = std::move(kept);
    }
}

void DropKeepAliveLine(std::string& block) {
    if (block.find("Connection") == std::string::npos) {
        return;
    }
    for (std::string_view line : SplitLines(block)) {
        if (line.starts_with("Connection")) {
            if (HeaderValue(line) == "keep-alive") {
                RemoveAll(block, "Connection: keep-alive\r\n");
            }
            return;
        }
    }
}

void AddCookieLine(std::string& block, std::string_view sendCookies) {
    if (sendCookies.empty() || ContainsIgnoringCase(block, "Cookie:")) {
        return;
    }
    if (ContainsIgnoringCase(sendCookies, "Cookie:")) {
        block.append("\r\n").append(sendCookies).append("\r\n");
    } else {
        block.append("\r\nCookie: ").append(sendCookies).append("\r\n");
    }
}

}  // namespace

std::string CapitalizeFirst(std::string_view text) {
    std::string result(text);
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z') {
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    }
    return result;
}

std::string NormalizeHeaderNames(std::string_view block) {
    std::string result;
    result.reserve(block.size() + 2);
    for (std::string_view piece : SplitLines(block)) {
        std::size_t colon = piece.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string_view name = piece.substr(0, colon);
        for (std::size_t wordStart = 0; wordStart <= name.size();) {
            std::size_t dash = std::min(name.find('-', wordStart), name.size());
            result += CapitalizeFirst(name.substr(wordStart, dash - wordStart));
            if (dash < name.size()) {
                result += '-';
            }
            wordStart = dash + 1;
        }
        result.append(piece.substr(colon)).append("\r\n");
    }
    if (!result.empty()) {
        result.resize(result.size() - 2);
    }
    return result;
}

std::string HeaderValue(std::string_view line) {
    constexpr std::string_view kKey = "Connection: ";
    std::size_t pos = line.rfind(kKey);
    return pos == std::string_view::npos ? std::string() : std::string(line.substr(pos + kKey.size()));
}

std::string BuildHeaderBlock(const HeaderBlockSettings& settings) {
    std::string block(settings.extraHeaders);
    if (!block.empty()) {
        block += "\r\n";
    }
    if (settings.addDefaultHeaders) {
        for (const DefaultHeader& row : kDefaultHeaderBlock) {
            if ((!row.postOnly || settings.isPost) && !ContainsIgnoringCase(block, row.key)) {
                block += row.line;
            }
        }
    }
    if (settings.normalizeHeaders) {
        block = NormalizeHeaderNames(block);
    }
    DropKeepAliveLine(block);
    AddCookieLine(block, settings.sendCookies);
    return block;
}

}  // namespace web
