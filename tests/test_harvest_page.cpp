// One result page against the loopback search service: extraction, blacklist, rows, link
// resolution, status texts, and the page's event-processing points.
#include "search/harvest_page.h"

#include <gtest/gtest.h>

#include "search/search_run.h"
#include "tests/support/fake_search_service.h"
#include "tests/support/fake_window.h"

using testsupport::FakeResult;
using testsupport::FakeSearchService;
using testsupport::FakeWindow;
using testsupport::Gb;
using testsupport::Reply;

namespace {

class HarvestPageTest : public ::testing::Test {
protected:
    void SetUp() override { RunResultCount = 0; }

    PageOutcome Harvest(std::int64_t page = 1, std::vector<std::string> keywords = {}) {
        return HarvestPage(window_, page, "kw", keywords, "");
    }

    // Ten results on page 1, with titles given in UTF-8 and the default redirect links.
    void ServeTitles(const std::vector<std::string>& titles) {
        service_.SetResults([titles](int) {
            std::vector<FakeResult> results;
            for (std::size_t i = 0; i < titles.size(); ++i) {
                results.push_back({titles[i], FakeSearchService::RedirectLink("r" + std::to_string(i + 1))});
            }
            return results;
        });
    }

    FakeSearchService service_;
    FakeWindow window_;
};

TEST_F(HarvestPageTest, KeptResultsBecomeNumberedRowsWithResolvedLinks) {
    EXPECT_EQ(Harvest(), PageOutcome::Harvested);
    ASSERT_EQ(window_.RowCount(), 10);
    for (int i = 0; i < 10; ++i) {
        const std::string id = "1-" + std::to_string(i + 1);
        EXPECT_EQ(window_.Cell(i, 0), std::to_string(i + 1));
        EXPECT_EQ(window_.Cell(i, 1), Gb("结果 " + id));
        EXPECT_EQ(window_.Cell(i, 2), FakeSearchService::Target(id));
    }
    EXPECT_EQ(service_.LinkRequestCount(), 10);
    EXPECT_EQ(RunResultCount, 10);
    EXPECT_EQ(window_.StatusText(), Gb("本次获取到10个结果，以上共计10个结果!"));
}

TEST_F(HarvestPageTest, DroppedResultsCountAsResultsButAddNoRows) {
    ServeTitles({"好文一", "垃圾广告", "好文二", "虚假消息", "好文三", "好文四", "假冒产品", "好文五",
                 "好文六", "好文七"});
    Harvest(1, {Gb("垃圾"), Gb("虚假"), Gb("假冒")});
    EXPECT_EQ(RunResultCount, 10);
    ASSERT_EQ(window_.RowCount(), 7);
    EXPECT_EQ(window_.Cell(1, 1), Gb("好文二"));
    EXPECT_EQ(window_.Cell(6, 0), "7");
    EXPECT_EQ(window_.StatusText(), Gb("本次获取到10个结果，以上共计7个结果!"));
    EXPECT_EQ(service_.LinkRequestCount(), 7);
}

TEST_F(HarvestPageTest, TheBlacklistRulesDecideWhichTitlesStay) {
    const std::vector<std::string> titles = {"abc", "ABC", "", "啊啊", "line\r\nbreak", "plain"};
    struct Case {
        std::vector<std::string> keywords;  // UTF-8
        std::vector<std::string> kept;      // titles, UTF-8
    } cases[] = {
        {{}, {"abc", "ABC", "", "啊啊", "line\r\nbreak", "plain"}},
        {{"abc"}, {"ABC", "", "啊啊", "line\r\nbreak", "plain"}},
        {{"", "abc"}, {""}},  // the empty keyword drops every non-empty title
        {{"\xA1\xB0"}, {"abc", "ABC", "", "啊啊", "line\r\nbreak", "plain"}},  // across two characters
        {{"line\r\nbreak"}, {"abc", "ABC", "", "啊啊", "plain"}},
    };
    for (const auto& c : cases) {
        ServeTitles(titles);
        FakeWindow window;
        std::vector<std::string> keywords;
        for (const std::string& keyword : c.keywords) {
            keywords.push_back(keyword == "\xA1\xB0" ? keyword : Gb(keyword));
        }
        HarvestPage(window, 1, "kw", keywords, "");
        std::vector<std::string> kept;
        for (const auto& row : window.Rows()) {
            kept.push_back(testsupport::Utf8(row[1]));
        }
        EXPECT_EQ(kept, c.kept) << c.keywords.size();
    }
}

TEST_F(HarvestPageTest, ARowShowsNumberAndTitleBeforeItsLinkIsResolved) {
    ServeTitles({"only"});
    Harvest();
    std::vector<std::string> rowCalls;
    for (const std::string& call : window_.Log()) {
        if (call.starts_with("AppendRow") || call.starts_with("SetCell")) {
            rowCalls.push_back(call);
        }
    }
    EXPECT_EQ(rowCalls, (std::vector<std::string>{"AppendRow(1)", "SetCell(0,1,only)",
                                                  "SetCell(0,2," + FakeSearchService::Target("r1") + ")"}));
}

TEST_F(HarvestPageTest, AQuoteInATitleGivesNoRow) {
    service_.SetResults([](int) {
        return std::vector<FakeResult>{
            {"say \\\"hi\\\"", FakeSearchService::RedirectLink("a")},
            {"fine", FakeSearchService::RedirectLink("b")},
        };
    });
    Harvest();
    ASSERT_EQ(window_.RowCount(), 1);
    EXPECT_EQ(window_.Cell(0, 1), "fine");
    EXPECT_EQ(RunResultCount, 1);
}

// The shapes in which real pages write titles and links: the rows, the blacklist and the links all
// work on the readable texts, whatever the shape.
TEST_F(HarvestPageTest, EveryPageShapeGivesReadableTitlesAndWorkingLinks) {
    using Shape = FakeSearchService::PageShape;
    const std::vector<FakeResult> results = {
        {"31省区市新增确诊病例", FakeSearchService::RedirectLink("a&b=1")},
        {"含垃圾广告的标题", FakeSearchService::RedirectLink("dropped")},
        {"AT&T <新> 'x' 😀 a/b", FakeSearchService::RedirectLink("r3")},
        {"直达", "https://example.org/s?a=1&b=2/c"},
    };
    struct Case {
        Shape shape;
        std::string pageHolds;  // UTF-8: how the first title stands on the page
    } cases[] = {
        {Shape::PlainCharacters, "31省区市新增确诊病例"},
        {Shape::UnicodeEscapes, "31\\u7701\\u533a\\u5e02\\u65b0\\u589e"},
        {Shape::CharacterReferences, "AT&amp;T &lt;新&gt; &#39;x&#39;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.shape));
        ASSERT_NE(FakeSearchService::ResultPage(results, c.shape).find(c.pageHolds), std::string::npos);
        service_.SetPageShape(c.shape);
        service_.SetResults([results](int) { return results; });
        const int linkRequestsBefore = service_.LinkRequestCount();
        FakeWindow window;
        RunResultCount = 0;
        HarvestPage(window, 1, "kw", {Gb("垃圾")}, "");
        EXPECT_EQ(RunResultCount, 4);
        ASSERT_EQ(window.RowCount(), 3);
        EXPECT_EQ(window.Cell(0, 1), Gb("31省区市新增确诊病例"));
        EXPECT_EQ(window.Cell(0, 2), FakeSearchService::Target("a&b=1"));
        EXPECT_EQ(window.Cell(1, 1), Gb("AT&T <新> 'x' 😀 a/b"));
        EXPECT_EQ(window.Cell(1, 2), FakeSearchService::Target("r3"));
        EXPECT_EQ(window.Cell(2, 1), Gb("直达"));
        EXPECT_EQ(window.Cell(2, 2), "https://example.org/s?a=1&b=2/c");
        EXPECT_EQ(service_.LinkRequestCount() - linkRequestsBefore, 2);
    }
}

TEST_F(HarvestPageTest, QuotesWrittenAsReferencesInsideEscapesMakeAReadableTitle) {
    service_.SetPageShape(FakeSearchService::PageShape::CharacterReferences);
    const std::vector<FakeResult> results = {{"say \"hi\" to AT&T", "http://example.org/?q=\"x\"&y=1"}};
    ASSERT_NE(FakeSearchService::ResultPage(results, FakeSearchService::PageShape::CharacterReferences)
                  .find("say \\&quot;hi\\&quot; to AT&amp;T"),
              std::string::npos);
    service_.SetResults([results](int) { return results; });
    Harvest(1, {"\"hi\""});
    EXPECT_EQ(window_.RowCount(), 0);  // the decoded title holds the keyword
    Harvest();
    ASSERT_EQ(window_.RowCount(), 1);
    EXPECT_EQ(window_.Cell(0, 1), "say \"hi\" to AT&T");
    EXPECT_EQ(window_.Cell(0, 2), "http://example.org/?q=\"x\"&y=1");
}

TEST_F(HarvestPageTest, BrokenEscapesInATitleAreShownAsTheyStand) {
    service_.SetResults([](int) {
        return std::vector<FakeResult>{
            {"lone \\ backslash", FakeSearchService::RedirectLink("a")},
            {"broken \\u12 escape", FakeSearchService::RedirectLink("b")},
            {"unknown &foo; and &#xZZ; at the end \\", FakeSearchService::RedirectLink("c")},
        };
    });
    Harvest();
    ASSERT_EQ(window_.RowCount(), 3);
    EXPECT_EQ(window_.Cell(0, 1), "lone \\ backslash");
    EXPECT_EQ(window_.Cell(1, 1), "broken \\u12 escape");
    EXPECT_EQ(window_.Cell(2, 1), "unknown &foo; and &#xZZ; at the end \\");
    EXPECT_EQ(window_.Cell(2, 2), FakeSearchService::Target("c"));
}

TEST_F(HarvestPageTest, ADirectLinkIsStoredUnchangedWithoutARequest) {
    service_.SetResults([](int) {
        return std::vector<FakeResult>{
            {"direct", "https://example.org/a?b=1"},
            {"other host", "http://www.baidu.com/other?url=x"},
            {"short", "http://www.baidu.com/link?url"},
        };
    });
    Harvest();
    ASSERT_EQ(window_.RowCount(), 3);
    EXPECT_EQ(window_.Cell(0, 2), "https://example.org/a?b=1");
    EXPECT_EQ(window_.Cell(1, 2), "http://www.baidu.com/other?url=x");
    EXPECT_EQ(window_.Cell(2, 2), "http://www.baidu.com/link?url");
    EXPECT_EQ(service_.LinkRequestCount(), 0);
}

TEST_F(HarvestPageTest, ARedirectLinkResolvesByLocationScriptOrMetaRefreshAndIsKeptWhenItCannot) {
    auto page = [](std::string body) {
        Reply reply;
        reply.headers = {{"Content-Type", "text/html"}};
        reply.body = std::move(body);
        return reply;
    };
    Reply noLocation = page("<html>nothing here</html>");
    Reply closed;
    closed.mode = Reply::Mode::CloseAtOnce;
    Reply locationOn200 = page("");
    locationOn200.headers.push_back({"Location", "http://on200.example/"});
    Reply notFound = page("");
    notFound.status = 404;
    notFound.reason = "Not Found";

    struct Case {
        std::string id;
        Reply reply;
        std::string cell;
    } cases[] = {
        {"script", page("<script>window.location.replace(\"http:\\/\\/script.example\\/a?b=1\")</script>"),
         "http://script.example/a?b=1"},
        {"meta",
         page("<noscript><META http-equiv=\"refresh\" content=\"0;URL='http://meta.example/p?a=1&amp;b=2'\">"
              "</noscript>"),
         "http://meta.example/p?a=1&b=2"},
        {"metaswapped", page("<meta content=\"0; url=https://swapped.example/\" http-equiv=\"Refresh\">"),
         "https://swapped.example/"},
        {"relative", page("<script>location.replace(\"/relative\")</script>"),
         FakeSearchService::RedirectLink("relative")},
        {"nolocation", noLocation, FakeSearchService::RedirectLink("nolocation")},
        {"closed", closed, FakeSearchService::RedirectLink("closed")},
        {"on200", locationOn200, "http://on200.example/"},
        {"notfound", notFound, FakeSearchService::RedirectLink("notfound")},
    };
    std::vector<FakeResult> results;
    for (const auto& c : cases) {
        service_.SetLinkReply(c.id, c.reply);
        results.push_back({c.id, FakeSearchService::RedirectLink(c.id)});
    }
    service_.SetResults([results](int) { return results; });
    Harvest();
    ASSERT_EQ(window_.RowCount(), static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(window_.Cell(static_cast<int>(i), 2), cases[i].cell) << cases[i].id;
    }
}

TEST_F(HarvestPageTest, TheResolveRequestCarriesItsFourHeadersAndDoesNotFollow) {
    ServeTitles({"one"});
    Harvest();
    std::vector<testsupport::RecordedRequest> links;
    for (const auto& request : service_.Requests()) {
        if (request.target.starts_with("/link?url=")) {
            links.push_back(request);
        }
    }
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].method, "GET");
    EXPECT_EQ(links[0].Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");
    EXPECT_EQ(links[0].Header("Accept-Language"), "zh-cn");
    EXPECT_EQ(links[0].Header("Connection"), "Keep-Alive");
    EXPECT_EQ(links[0].Header("Accept"),
              "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
              "application/x-silverlight, */*");
    // The 302 target was not fetched.
    for (const auto& request : service_.Requests()) {
        EXPECT_EQ(request.target.find("target.example"), std::string::npos);
    }
}

TEST_F(HarvestPageTest, AFailedPageSaysSoAndKeepsTheRowsAlreadyListed) {
    window_.AppendRow("1");
    service_.SetPageKind(2, FakeSearchService::PageKind::Failure);
    EXPECT_EQ(Harvest(2), PageOutcome::RequestFailed);
    EXPECT_EQ(window_.RowCount(), 1);
    const std::string status = window_.StatusText();
    EXPECT_TRUE(status.starts_with(Gb("第2页获取失败（"))) << testsupport::Utf8(status);
    EXPECT_NE(status.find("71"), std::string::npos) << testsupport::Utf8(status);  // the engine's message
    EXPECT_TRUE(status.ends_with(Gb("），以上共计1个结果!"))) << testsupport::Utf8(status);
}

TEST_F(HarvestPageTest, TheVerificationPageHasItsOwnStatusText) {
    for (auto kind : {FakeSearchService::PageKind::VerificationRedirect,
                      FakeSearchService::PageKind::VerificationTitle}) {
        FakeWindow window;
        window.AppendRow("1");
        service_.SetPageKind(3, kind);
        EXPECT_EQ(HarvestPage(window, 3, "kw", {}, ""), PageOutcome::VerificationAsked);
        EXPECT_EQ(window.RowCount(), 1);
        EXPECT_EQ(window.StatusText(),
                  Gb("第3页被百度要求安全验证，已停止获取，请稍后再试，以上共计1个结果!"));
    }
}

TEST_F(HarvestPageTest, QueryAndFilterReachTheServiceAsTyped) {
    const std::string query = Gb("C# & AT&T 100% C++ 中文 site:tieba.baidu.com");
    HarvestPage(window_, 2, query, {}, "stf=1569913600,1570000000|stftype=1");
    auto searches = service_.Searches();
    ASSERT_EQ(searches.size(), 1u);
    EXPECT_EQ(searches[0].wd, "C# & AT&T 100% C++ 中文 site:tieba.baidu.com");
    EXPECT_EQ(searches[0].pn, "10");
    EXPECT_EQ(searches[0].gpc, "stf=1569913600,1570000000|stftype=1");
}

TEST_F(HarvestPageTest, RowNumbersFollowTheListWhenRowsAreDeletedMidPage) {
    window_.OnEachProcessEvents([this](int) {
        if (window_.RowCount() == 3 && window_.Cell(0, 1) == Gb("结果 1-1")) {
            window_.DeleteRow(0);
        }
    });
    Harvest();
    ASSERT_EQ(window_.RowCount(), 9);
    EXPECT_EQ(window_.Cell(0, 1), Gb("结果 1-2"));
    EXPECT_EQ(window_.Cell(2, 0), "3");  // appended when two rows were left
    EXPECT_EQ(window_.StatusText(), Gb("本次获取到10个结果，以上共计9个结果!"));
}

TEST_F(HarvestPageTest, EventsAreProcessedBeforeEachResultAndEachBlacklistTest) {
    ServeTitles({"a", "b", "c"});
    int duringResults = 0;
    window_.OnEachProcessEvents([&](int) {
        if (RunResultCount == 3) {
            ++duringResults;  // the page has been counted: these are the harvest's own points
        }
    });
    Harvest(1, {"x", "y"});
    EXPECT_EQ(duringResults, 3 * (1 + 2));
}

TEST_F(HarvestPageTest, AClosedWindowStopsThePageAtItsNextEventPoint) {
    int seen = 0;
    window_.OnEachProcessEvents([&](int) {
        if (window_.RowCount() == 2 && ++seen == 1) {
            window_.Close();
        }
    });
    EXPECT_EQ(Harvest(), PageOutcome::WindowClosed);
    EXPECT_EQ(window_.RowCount(), 2);
    EXPECT_EQ(service_.LinkRequestCount(), 2);
    EXPECT_TRUE(window_.StatusTexts().empty());
    // A closed window makes no further request.
    const std::size_t requests = service_.Requests().size();
    EXPECT_EQ(HarvestPage(window_, 2, "kw", {}, ""), PageOutcome::WindowClosed);
    EXPECT_EQ(service_.Requests().size(), requests);
}

}  // namespace
