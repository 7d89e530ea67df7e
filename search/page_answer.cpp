// Classifies a page answer by the engine's status text, the redirect it reported and the page title.
#include "search/page_answer.h"

#include <string>

#include "platform/codepage.h"

namespace {

constexpr std::string_view kCaptchaHost = "wappass.baidu.com";

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view what, std::size_t from = 0) {
    for (std::size_t pos = from; pos + what.size() <= text.size(); ++pos) {
        bool same = true;
        for (std::size_t i = 0; i < what.size() && same; ++i) {
            same = AsciiLower(text[pos + i]) == AsciiLower(what[i]);
        }
        if (same) {
            return pos;
        }
    }
    return std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The text between the first <title ...> and </title>; empty without one.
std::string_view Title(std::string_view page) {
    std::size_t open = FindIgnoringCase(page, "<title");
    if (open == std::string_view::npos) {
        return {};
    }
    std::size_t start = page.find('>', open);
    if (start == std::string_view::npos) {
        return {};
    }
    std::size_t end = FindIgnoringCase(page, "</title>", start);
    return TrimBlanks(page.substr(start + 1, end == std::string_view::npos ? 0 : end - start - 1));
}

bool NamesCaptchaHost(std::string_view text) {
    return FindIgnoringCase(text, kCaptchaHost) != std::string_view::npos;
}

// The status text starts with the HTTP status of the last answer, or is one of the engine's own
// messages (numbered 700 to 713, or without a number) when no answer came.
bool IsSuccessStatus(std::string_view statusText) {
    return statusText.size() >= 3 && statusText[0] == '2' && statusText[1] >= '0' && statusText[1] <= '9' &&
           statusText[2] >= '0' && statusText[2] <= '9' && (statusText.size() == 3 || statusText[3] == ' ');
}

}  // namespace

PageAnswer ClassifyPageAnswer(std::string_view pageText, const WebRequestOutputs& outputs) {
    const std::string verificationTitle = platform::codepage::Utf8ToText("百度安全验证");
    if (Title(pageText) == verificationTitle || NamesCaptchaHost(outputs.RedirectLocation)) {
        return PageAnswer::Verification;
    }
    return IsSuccessStatus(outputs.StatusText) ? PageAnswer::Page : PageAnswer::Failed;
}
