// The fake search service: a LoopbackServer whose handler plays the result pages, the redirect
// links and the captcha site.
#include "tests/support/fake_search_service.h"

namespace testsupport {
namespace {

constexpr std::string_view kLinkPath = "/link?url=";
constexpr std::string_view kCaptchaPath = "/static/captcha/tuxing.html";

std::string VerificationPage() {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>百度安全验证</title></head>"
           "<body><div class=\"timeout-title\">网络不给力，请稍后重试</div></body></html>";
}

Reply HtmlReply(std::string body) {
    Reply reply;
    reply.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    reply.body = std::move(body);
    return reply;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The values of a query string, by name.
std::map<std::string, std::string> QueryValues(std::string_view target) {
    std::map<std::string, std::string> values;
    std::size_t question = target.find('?');
    if (question == std::string_view::npos) {
        return values;
    }
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        std::size_t amp = query.find('&');
        std::string_view pair = query.substr(0, amp);
        std::size_t equals = pair.find('=');
        std::string name(pair.substr(0, equals));
        values[name] = equals == std::string_view::npos ? "" : DecodeQueryValue(pair.substr(equals + 1));
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    return values;
}

// The code points of a UTF-8 test text; a byte that starts no character stands for U+FFFD.
std::vector<char32_t> CodePoints(std::string_view utf8) {
    std::vector<char32_t> codePoints;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC0 ? 2
                                                  : 0;
        if (length == 0 || i + length > utf8.size()) {
            codePoints.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            value = (value << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        codePoints.push_back(value);
        i += length;
    }
    return codePoints;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// "\uXXXX" for each UTF-16 unit of `c`, so a character beyond the BMP becomes a surrogate pair.
void AppendUnicodeEscapes(char32_t c, std::string& out) {
    auto appendUnit = [&out](char32_t unit) {
        constexpr char kHex[] = "0123456789abcdef";
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) {
            out += kHex[(unit >> shift) & 0xF];
        }
    };
    if (c < 0x10000) {
        appendUnit(c);
        return;
    }
    appendUnit(0xD800 + ((c - 0x10000) >> 10));
    appendUnit(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// A text as a JavaScript string literal holds it: quotes, backslashes and line breaks escaped, and
// optionally "/" and every non-ASCII character (as UTF-16 units) too.
std::string ScriptEscaped(std::string_view utf8, bool escapeSlash, bool escapeNonAscii) {
    std::string out;
    for (char32_t c : CodePoints(utf8)) {
        if (c == '"' || c == '\\' || (c == '/' && escapeSlash)) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c >= 0x80 && escapeNonAscii) {
            AppendUnicodeEscapes(c, out);
        } else {
            AppendUtf8(c, out);
        }
    }
    return out;
}

// A text with the characters of `special` (among & " < > ') as character references.
std::string HtmlEscaped(std::string_view text, std::string_view special) {
    std::string out;
    for (char c : text) {
        if (special.find(c) == std::string_view::npos) {
            out += c;
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += "&#39;";
                break;
        }
    }
    return out;
}

// A title or link as the data-tools attribute of a page of `shape` carries it.
std::string AttributeText(std::string_view utf8, FakeSearchService::PageShape shape) {
    using Shape = FakeSearchService::PageShape;
    switch (shape) {
        case Shape::AsGiven:
            return std::string(utf8);
        case Shape::PlainCharacters:
            return HtmlEscaped(ScriptEscaped(utf8, false, false), "&'");
        case Shape::UnicodeEscapes:
            return HtmlEscaped(ScriptEscaped(utf8, true, true), "&'");
        case Shape::CharacterReferences:
            return HtmlEscaped(ScriptEscaped(utf8, true, false), "&\"<>'");
    }
    return std::string(utf8);
}

// A title or link as the page's visible link carries it.
std::string ElementText(std::string_view utf8, FakeSearchService::PageShape shape) {
    return shape == FakeSearchService::PageShape::AsGiven ? std::string(utf8) : HtmlEscaped(utf8, "&\"<>'");
}

int PageOf(const std::string& pn) {
    return pn.empty() ? 1 : std::stoi(pn) / 10 + 1;
}

std::vector<FakeResult> DefaultResults(int page) {
    std::vector<FakeResult> results;
    for (int i = 1; i <= 10; ++i) {
        std::string id = std::to_string(page) + "-" + std::to_string(i);
        results.push_back({"结果 " + id, FakeSearchService::RedirectLink(id)});
    }
    return results;
}

}  // namespace

std::string DecodeQueryValue(std::string_view value) {
    std::string decoded;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            decoded.push_back(' ');
        } else if (value[i] == '%' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 &&
                   HexValue(value[i + 2]) >= 0) {
            decoded.push_back(static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2])));
            i += 2;
        } else {
            decoded.push_back(value[i]);
        }
    }
    return decoded;
}

FakeSearchService::FakeSearchService()
    : results_(DefaultResults),
      server_([this](const RecordedRequest& request) { return Answer(request); }),
      routing_({"www.baidu.com:80:127.0.0.1:" + std::to_string(server_.Port()),
                "wappass.baidu.com:80:127.0.0.1:" + std::to_string(server_.Port())}) {}

FakeSearchService::~FakeSearchService() = default;

std::string FakeSearchService::RedirectLink(std::string_view id) {
    return "http://www.baidu.com/link?url=" + std::string(id);
}

std::string FakeSearchService::Target(std::string_view id) {
    return "http://target.example/" + std::string(id);
}

void FakeSearchService::SetResults(std::function<std::vector<FakeResult>(int page)> results) {
    std::lock_guard lock(mutex_);
    results_ = std::move(results);
}

void FakeSearchService::SetPageKind(int page, PageKind kind) {
    std::lock_guard lock(mutex_);
    pageKinds_[page] = kind;
}

void FakeSearchService::SetPageShape(PageShape shape) {
    std::lock_guard lock(mutex_);
    pageShape_ = shape;
}

void FakeSearchService::SetLinkReply(const std::string& id, Reply reply) {
    std::lock_guard lock(mutex_);
    linkReplies_[id] = std::move(reply);
}

void FakeSearchService::OnPageRequest(std::function<void(int page)> action) {
    std::lock_guard lock(mutex_);
    onPageRequest_ = std::move(action);
}

std::vector<ReceivedSearch> FakeSearchService::Searches() const {
    std::vector<ReceivedSearch> searches;
    for (const RecordedRequest& request : server_.Requests()) {
        if (!request.target.starts_with("/s?")) {
            continue;
        }
        auto values = QueryValues(request.target);
        ReceivedSearch search{values["wd"], values["pn"], std::nullopt, request.target};
        if (values.contains("gpc")) {
            search.gpc = values["gpc"];
        }
        searches.push_back(std::move(search));
    }
    return searches;
}

std::vector<int> FakeSearchService::PagesAsked() const {
    std::vector<int> pages;
    for (const ReceivedSearch& search : Searches()) {
        pages.push_back(PageOf(search.pn));
    }
    return pages;
}

int FakeSearchService::LinkRequestCount() const {
    int count = 0;
    for (const RecordedRequest& request : server_.Requests()) {
        count += request.target.starts_with(kLinkPath) ? 1 : 0;
    }
    return count;
}

std::string FakeSearchService::ResultPage(const std::vector<FakeResult>& results, PageShape shape) {
    std::string page =
        "<!DOCTYPE html><html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=utf-8\">"
        "<title>百度搜索</title></head><body><div id=\"content_left\">\n";
    int id = 1;
    for (const FakeResult& result : results) {
        page += "<div class=\"result c-container\" id=\"" + std::to_string(id++) +
                "\" data-tools='{\"title\":\"" + AttributeText(result.title, shape) + "\",\"url\":\"" +
                AttributeText(result.url, shape) + "\"}'><h3 class=\"t\"><a href=\"" +
                ElementText(result.url, shape) + "\" target=\"_blank\">" + ElementText(result.title, shape) +
                "</a></h3></div>\n";
    }
    return page + "</div></body></html>";
}

Reply FakeSearchService::Answer(const RecordedRequest& request) {
    if (request.target.starts_with("/s?")) {
        return AnswerSearch(request);
    }
    if (request.target.starts_with(kLinkPath)) {
        return AnswerLink(request.target.substr(kLinkPath.size()));
    }
    if (request.target.starts_with(kCaptchaPath)) {
        return HtmlReply(VerificationPage());
    }
    Reply notFound = HtmlReply("<html><title>404</title></html>");
    notFound.status = 404;
    notFound.reason = "Not Found";
    return notFound;
}

Reply FakeSearchService::AnswerSearch(const RecordedRequest& request) {
    const int page = PageOf(QueryValues(request.target)["pn"]);
    std::function<void(int)> onPageRequest;
    std::function<std::vector<FakeResult>(int)> results;
    PageKind kind = PageKind::Results;
    PageShape shape = PageShape::AsGiven;
    {
        std::lock_guard lock(mutex_);
        onPageRequest = onPageRequest_;
        results = results_;
        shape = pageShape_;
        if (auto found = pageKinds_.find(page); found != pageKinds_.end()) {
            kind = found->second;
        }
    }
    if (onPageRequest) {
        onPageRequest(page);
    }
    switch (kind) {
        case PageKind::Failure: {
            Reply reply;
            reply.mode = Reply::Mode::CloseAtOnce;
            return reply;
        }
        case PageKind::VerificationRedirect: {
            Reply reply;
            reply.status = 302;
            reply.reason = "Found";
            reply.headers = {{"Location", "http://wappass.baidu.com" + std::string(kCaptchaPath) +
                                              "?&logid=1&ak=x&backurl=http%3A%2F%2Fwww.baidu.com%2Fs"}};
            return reply;
        }
        case PageKind::VerificationTitle:
            return HtmlReply(VerificationPage());
        case PageKind::Results:
            break;
    }
    return HtmlReply(ResultPage(results(page), shape));
}

Reply FakeSearchService::AnswerLink(const std::string& id) {
    {
        std::lock_guard lock(mutex_);
        if (auto found = linkReplies_.find(id); found != linkReplies_.end()) {
            return found->second;
        }
    }
    Reply reply;
    reply.status = 302;
    reply.reason = "Found";
    reply.headers = {{"Location", Target(id)}};
    return reply;
}

}  // namespace testsupport
