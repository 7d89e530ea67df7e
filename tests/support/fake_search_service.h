// A loopback stand-in for the search service: result pages shaped like the real ones (each result's
// title and link in a data-tools attribute, UTF-8 with a meta charset tag, written in one of the
// shapes the real pages use), redirect links answered
// with a 302 and a Location, a verification page on demand, and a record of every search it got.
// While it lives, connections to www.baidu.com:80 and wappass.baidu.com:80 go to it, so the program
// builds its real URLs and the real redirect prefix is exercised.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/http_connect_to.h"
#include "tests/support/loopback_server.h"

namespace testsupport {

// One result as the page carries it, in UTF-8.
struct FakeResult {
    std::string title;
    std::string url;
};

// One search the service received, its query values decoded (UTF-8).
struct ReceivedSearch {
    std::string wd;
    std::string pn;
    std::optional<std::string> gpc;
    std::string target;  // the request target as sent
};

class FakeSearchService {
public:
    enum class PageKind {
        Results,               // the page of results
        Failure,               // the connection closes without an answer
        VerificationRedirect,  // a 302 to the captcha page on wappass.baidu.com
        VerificationTitle,     // a page titled 百度安全验证
    };

    // How a page writes each result's title and link in its data-tools attribute.
    enum class PageShape {
        AsGiven,              // exactly as the test gives them, escapes and all
        PlainCharacters,      // string escapes for quotes and backslashes; "&" and "'" as references
        UnicodeEscapes,       // every non-ASCII character as \uXXXX and "/" as "\/"; "&" as "&amp;"
        CharacterReferences,  // string escapes with "\/", then & " < > ' as character references
    };

    FakeSearchService();
    ~FakeSearchService();
    FakeSearchService(const FakeSearchService&) = delete;
    FakeSearchService& operator=(const FakeSearchService&) = delete;

    // "http://www.baidu.com/link?url=" + id, and the address its 302 names by default.
    static std::string RedirectLink(std::string_view id);
    static std::string Target(std::string_view id);

    // The results of a page (1 for pn=0). By default ten results a page, titled "结果 P-I", each with
    // the redirect link of id "P-I".
    void SetResults(std::function<std::vector<FakeResult>(int page)> results);
    void SetPageKind(int page, PageKind kind);
    // The shape of every result page from now on; AsGiven at the start.
    void SetPageShape(PageShape shape);
    // The answer to the redirect link of `id`, instead of the 302 to Target(id).
    void SetLinkReply(const std::string& id, Reply reply);
    // Runs on the server's thread when page `page` is asked for, before it is answered.
    void OnPageRequest(std::function<void(int page)> action);

    std::vector<ReceivedSearch> Searches() const;
    std::vector<int> PagesAsked() const;
    int LinkRequestCount() const;
    std::vector<RecordedRequest> Requests() const { return server_.Requests(); }
    int Port() const { return server_.Port(); }

    // The page the service serves for these results, as bytes on the wire.
    static std::string ResultPage(const std::vector<FakeResult>& results,
                                  PageShape shape = PageShape::AsGiven);

private:
    Reply Answer(const RecordedRequest& request);
    Reply AnswerSearch(const RecordedRequest& request);
    Reply AnswerLink(const std::string& id);

    mutable std::mutex mutex_;
    std::function<std::vector<FakeResult>(int)> results_;
    std::map<int, PageKind> pageKinds_;
    PageShape pageShape_ = PageShape::AsGiven;
    std::map<std::string, Reply> linkReplies_;
    std::function<void(int)> onPageRequest_;
    LoopbackServer server_;
    platform::http::testing::ScopedConnectTo routing_;
};

// Decodes a URL query value: "%XX" to its byte, "+" to a blank.
std::string DecodeQueryValue(std::string_view value);

}  // namespace testsupport
