// The press of the search button end to end against the loopback search service: the input check,
// the save and the clearing, the query and filter on the wire, manual pages, the automatic run's
// caption-driven states with presses made during a run, and the run's endings.
#include "search/search_run.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include "tests/support/fake_search_service.h"
#include "tests/support/fake_window.h"

namespace fs = std::filesystem;
using testsupport::FakeSearchService;
using testsupport::FakeWindow;
using testsupport::Gb;

namespace {

class SearchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunResultCount = 0;
        AutoRunActive = false;
        folder_ =
            fs::temp_directory_path() / ("search-run-test-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        window_.SetText(Control::编辑框1, "kw");
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Press() { SearchRun(window_, folder_); }
    void ManualPage(const std::string& page) {
        window_.Choose(Control::单选框EX4);
        window_.SetText(Control::编辑框2, page);
    }
    void AutomaticPages(const std::string& first, const std::string& last) {
        window_.Choose(Control::单选框EX5);
        window_.SetText(Control::编辑框5, first);
        window_.SetText(Control::编辑框6, last);
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const std::string& call : window_.Log()) {
            if (call.starts_with("SetCaption(")) {
                captions.push_back(call.substr(11, call.size() - 12));
            }
        }
        return captions;
    }

    FakeSearchService service_;
    FakeWindow window_;
    fs::path folder_;
};

TEST_F(SearchRunTest, ACustomSourceWithoutASiteOnlyShowsTheMessage) {
    window_.Choose(Control::单选框EX7);
    window_.AppendRow("1");
    RunResultCount = 42;
    Press();
    EXPECT_EQ(window_.StatusTexts(), std::vector<std::string>{Gb("请输入自定义网址！！！！！！")});
    EXPECT_EQ(window_.RowCount(), 1);  // 搜索清空 is ticked, and still nothing is cleared
    EXPECT_EQ(RunResultCount, 42);
    EXPECT_EQ(window_.Caption(), "SO");
    EXPECT_FALSE(fs::exists(folder_ / "config.ini"));
    EXPECT_TRUE(service_.Requests().empty());
}

TEST_F(SearchRunTest, APressSavesTheSettingsAndClearsTheListWhenAsked) {
    ManualPage("1");
    window_.AppendRow("1");
    Press();
    EXPECT_TRUE(fs::exists(folder_ / "config.ini"));
    EXPECT_EQ(window_.RowCount(), 10);
    EXPECT_EQ(window_.Cell(0, 0), "1");

    window_.SetSelected(Control::选择框1, false);
    Press();
    EXPECT_EQ(window_.RowCount(), 20);
    EXPECT_EQ(window_.Cell(19, 0), "20");
    EXPECT_EQ(window_.StatusText(), Gb("本次获取到10个结果，以上共计20个结果!"));
}

TEST_F(SearchRunTest, EverySourceSendsItsQuery) {
    struct Case {
        Control source;
        std::string wd;
    } cases[] = {
        {Control::单选框EX1, "C# & AT&T site:tieba.baidu.com"},
        {Control::单选框EX2, "C# & AT&T site:weibo.com"},
        {Control::单选框EX6, "C# & AT&T site:bilibili.com"},
        {Control::单选框EX8, "C# & AT&T site:steamcommunity.com"},
        {Control::单选框EX7, "C# & AT&T site:example.org"},
        {Control::单选框EX3, "C# & AT&T"},
    };
    ManualPage("1");
    window_.SetText(Control::编辑框1, "C# & AT&T");
    window_.SetText(Control::编辑框4, "example.org");
    for (const auto& c : cases) {
        window_.Choose(c.source);
        Press();
    }
    auto searches = service_.Searches();
    ASSERT_EQ(searches.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(searches[i].wd, cases[i].wd);
    }
}

TEST_F(SearchRunTest, AManualPageAsksForItsOffset) {
    struct Case {
        std::string page;
        std::string pn;
    } cases[] = {{"1", "0"}, {"3", "20"}, {"0", "-10"}, {"abc", "-10"}, {Gb("３"), "20"}};
    for (const auto& c : cases) {
        ManualPage(c.page);
        Press();
    }
    auto searches = service_.Searches();
    ASSERT_EQ(searches.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(searches[i].pn, cases[i].pn) << i;
        EXPECT_FALSE(searches[i].gpc.has_value());  // 不限制
    }
    EXPECT_EQ(window_.Caption(), "SO");
    EXPECT_TRUE(Captions().empty());
}

TEST_F(SearchRunTest, ARelativeTimeWindowEndsNow) {
    ManualPage("1");
    window_.Choose(Control::单选框2);
    Press();
    auto searches = service_.Searches();
    ASSERT_EQ(searches.size(), 1u);
    ASSERT_TRUE(searches[0].gpc.has_value());
    long long from = 0;
    long long to = 0;
    ASSERT_EQ(std::sscanf(searches[0].gpc->c_str(), "stf=%lld,%lld|stftype=1", &from, &to), 2)
        << *searches[0].gpc;
    EXPECT_EQ(to - from, 604800);
    EXPECT_EQ(*searches[0].gpc, "stf=" + std::to_string(from) + "," + std::to_string(to) + "|stftype=1");
}

TEST_F(SearchRunTest, ACustomRangeSendsBothDates) {
    ManualPage("1");
    window_.Choose(Control::单选框5);
    window_.SetDateValue(Control::日期框_起始, {2019, 10, 1, 15, 6, 40});
    window_.SetDateValue(Control::日期框_截止, {2019, 10, 2, 15, 6, 40});
    Press();
    auto searches = service_.Searches();
    ASSERT_EQ(searches.size(), 1u);
    EXPECT_EQ(searches[0].gpc, "stf=1569913600,1570000000|stftype=2");
}

TEST_F(SearchRunTest, AnAutomaticRunFromThreeToThreeHarvestsPageThreeOnly) {
    AutomaticPages("3", "3");
    Press();
    EXPECT_EQ(service_.PagesAsked(), std::vector<int>{3});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Stop", "SO"}));
    EXPECT_FALSE(AutoRunActive);
    EXPECT_EQ(window_.RowCount(), 10);
    EXPECT_EQ(window_.Cell(0, 1), Gb("结果 3-1"));
}

TEST_F(SearchRunTest, TheEndPageIsReadAfterEveryPage) {
    AutomaticPages("1", "9");
    window_.OnEachProcessEvents([this](int) {
        if (window_.RowCount() == 5) {
            window_.SetText(Control::编辑框6, "2");
        }
    });
    Press();
    EXPECT_EQ(service_.PagesAsked(), (std::vector<int>{1, 2}));
    EXPECT_EQ(window_.Caption(), "SO");
}

TEST_F(SearchRunTest, ARunFromFiveToThreeGoesOnUntilAPressStopsIt) {
    AutomaticPages("5", "3");
    window_.SetSelected(Control::选择框1, false);
    bool pressed = false;
    window_.OnEachProcessEvents([&](int) {
        // Halfway through page 7: the press stops the run, and the page is still completed.
        if (!pressed && window_.RowCount() == 25) {
            pressed = true;
            Press();
            EXPECT_EQ(window_.Caption(), "SO");
            EXPECT_FALSE(AutoRunActive);
        }
    });
    Press();
    EXPECT_EQ(service_.PagesAsked(), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(window_.RowCount(), 30);
    EXPECT_EQ(window_.Cell(29, 1), Gb("结果 7-10"));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Stop", "SO"}));
    EXPECT_FALSE(AutoRunActive);
}

TEST_F(SearchRunTest, AStopPressThatClearsTheListLetsThePageFinishIntoTheClearedList) {
    AutomaticPages("1", "5");
    bool pressed = false;
    window_.OnEachProcessEvents([&](int) {
        if (!pressed && window_.RowCount() == 4) {
            pressed = true;
            Press();  // 搜索清空 is ticked
        }
    });
    Press();
    EXPECT_EQ(service_.PagesAsked(), std::vector<int>{1});
    // Rows 1 to 4 went with the clearing; the rest of page 1 came after it.
    ASSERT_EQ(window_.RowCount(), 6);
    EXPECT_EQ(window_.Cell(0, 0), "1");
    EXPECT_EQ(window_.Cell(0, 1), Gb("结果 1-5"));
    // The stop press reset the count; the page's status shows what it held when it was counted.
    EXPECT_EQ(window_.StatusText(), Gb("本次获取到0个结果，以上共计6个结果!"));
}

TEST_F(SearchRunTest, APressWhileAPageFinishesStartsANestedRunAndTheOlderOneThenStops) {
    AutomaticPages("1", "3");
    window_.SetSelected(Control::选择框1, false);
    int presses = 0;
    window_.OnEachProcessEvents([&](int) {
        if (presses == 0 && window_.RowCount() == 2) {
            ++presses;
            Press();  // stops the run: page 1 finishes
            EXPECT_EQ(window_.Caption(), "SO");
        } else if (presses == 1 && window_.RowCount() == 3) {
            ++presses;
            window_.SetText(Control::编辑框5, "8");
            window_.SetText(Control::编辑框6, "9");
            Press();  // a new run, nested, from 8 to 9
            EXPECT_EQ(window_.Caption(), "SO");
            EXPECT_FALSE(AutoRunActive);
        }
    });
    Press();
    EXPECT_EQ(service_.PagesAsked(), (std::vector<int>{1, 8, 9}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Stop", "SO", "Stop", "SO"}));
    ASSERT_EQ(window_.RowCount(), 30);
    EXPECT_EQ(window_.Cell(3, 1), Gb("结果 8-1"));
    EXPECT_EQ(window_.Cell(29, 1), Gb("结果 1-10"));
    EXPECT_FALSE(AutoRunActive);
}

TEST_F(SearchRunTest, AManualPressDuringARunHarvestsItsPageAndTheRunGoesOn) {
    AutomaticPages("1", "2");
    window_.SetSelected(Control::选择框1, false);
    bool pressed = false;
    window_.OnEachProcessEvents([&](int) {
        if (!pressed && window_.RowCount() == 1) {
            pressed = true;
            ManualPage("7");
            Press();
            window_.Choose(Control::单选框EX5);
        }
    });
    Press();
    EXPECT_EQ(service_.PagesAsked(), (std::vector<int>{1, 7, 2}));
    EXPECT_EQ(window_.RowCount(), 30);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Stop", "SO"}));
}

TEST_F(SearchRunTest, AFailedPageIsReportedAndTheRunGoesOn) {
    AutomaticPages("1", "3");
    service_.SetPageKind(2, FakeSearchService::PageKind::Failure);
    Press();
    EXPECT_EQ(service_.PagesAsked(), (std::vector<int>{1, 2, 3}));
    const auto& texts = window_.StatusTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_TRUE(texts[1].starts_with(Gb("第2页获取失败"))) << testsupport::Utf8(texts[1]);
    EXPECT_EQ(texts[2], Gb("本次获取到20个结果，以上共计20个结果!"));
}

TEST_F(SearchRunTest, AVerificationPageEndsTheAutomaticRunAndKeepsTheRows) {
    AutomaticPages("1", "5");
    service_.SetPageKind(2, FakeSearchService::PageKind::VerificationRedirect);
    Press();
    EXPECT_EQ(service_.PagesAsked(), (std::vector<int>{1, 2}));
    EXPECT_EQ(window_.RowCount(), 10);
    EXPECT_EQ(window_.StatusText(), Gb("第2页被百度要求安全验证，已停止获取，请稍后再试，以上共计10个结果!"));
    EXPECT_EQ(window_.Caption(), "SO");
    EXPECT_FALSE(AutoRunActive);
}

TEST_F(SearchRunTest, ClosingTheWindowStopsTheRunAtItsNextEventPoint) {
    AutomaticPages("1", "5");
    window_.OnEachProcessEvents([&](int) {
        if (window_.RowCount() == 3) {
            window_.Close();
        }
    });
    Press();
    EXPECT_EQ(service_.PagesAsked(), std::vector<int>{1});
    EXPECT_EQ(window_.RowCount(), 3);
    EXPECT_EQ(service_.LinkRequestCount(), 3);
}

}  // namespace
