// Query and time filter composition from the window's options, and the page URL built from them.
#include "search/search_query.h"

#include <gtest/gtest.h>

#include "search/page_url.h"
#include "tests/support/fake_window.h"

using testsupport::FakeWindow;
using testsupport::Gb;

namespace {

const Control kSources[] = {Control::单选框EX1, Control::单选框EX2, Control::单选框EX3,
                            Control::单选框EX6, Control::单选框EX8, Control::单选框EX7};
const Control kTimeOptions[] = {Control::单选框1, Control::单选框2, Control::单选框3,
                                Control::单选框4, Control::单选框5, Control::单选框6};

void ClearAll(FakeWindow& window, const auto& controls) {
    for (Control control : controls) {
        window.SetSelected(control, false);
    }
}

TEST(ComposeQuery, EverySourceAddsItsSiteRestriction) {
    struct Case {
        Control source;
        std::string query;
    } cases[] = {
        {Control::单选框EX1, " 中文 C++ site:tieba.baidu.com"},
        {Control::单选框EX2, " 中文 C++ site:weibo.com"},
        {Control::单选框EX6, " 中文 C++ site:bilibili.com"},
        {Control::单选框EX8, " 中文 C++ site:steamcommunity.com"},
        {Control::单选框EX7, " 中文 C++ site:example.org"},
        {Control::单选框EX3, " 中文 C++"},
    };
    for (const auto& c : cases) {
        FakeWindow window;
        window.SetText(Control::编辑框1, Gb(" 中文 C++"));  // taken unchanged, blanks included
        window.SetText(Control::编辑框4, "example.org");
        window.Choose(c.source);
        EXPECT_EQ(ComposeQuery(window), Gb(c.query)) << c.query;
    }
}

TEST(ComposeQuery, NoSourceGivesAnEmptyQueryAndTheLastSelectedSourceWins) {
    FakeWindow window;
    window.SetText(Control::编辑框1, "kw");
    ClearAll(window, kSources);
    EXPECT_EQ(ComposeQuery(window), "");
    window.SetSelected(Control::单选框EX1, true);
    window.SetSelected(Control::单选框EX8, true);
    EXPECT_EQ(ComposeQuery(window), "kw site:steamcommunity.com");
    window.SetSelected(Control::单选框EX3, true);
    EXPECT_EQ(ComposeQuery(window), "kw");
}

TEST(ComposeFilter, EveryTimeOptionGivesItsWindowEarlierInstantFirst) {
    constexpr std::int32_t kNow = 1570000000;
    struct Case {
        Control option;
        std::string filter;
    } cases[] = {
        {Control::单选框1, "stf=1569913600,1570000000|stftype=1"},
        {Control::单选框2, "stf=1569395200,1570000000|stftype=1"},
        {Control::单选框3, "stf=1567408000,1570000000|stftype=1"},
        {Control::单选框4, "stf=1538464000,1570000000|stftype=1"},
        {Control::单选框6, ""},
    };
    for (const auto& c : cases) {
        FakeWindow window;
        window.Choose(c.option);
        EXPECT_EQ(ComposeFilter(window, kNow), c.filter) << c.filter;
    }
    FakeWindow none;
    ClearAll(none, kTimeOptions);
    EXPECT_EQ(ComposeFilter(none, kNow), "");
}

TEST(ComposeFilter, ACustomRangeUsesBothDatesInBoxOrderWithTheirTimeOfDay) {
    FakeWindow window;
    window.Choose(Control::单选框5);
    // The start box holds the later date: the order of the boxes is kept.
    window.SetDateValue(Control::日期框_起始, {2019, 10, 2, 15, 6, 40});
    window.SetDateValue(Control::日期框_截止, {2019, 10, 1, 8, 0, 0});
    EXPECT_EQ(ComposeFilter(window, 0), "stf=1570000000,1569888000|stftype=2");
    // The custom range wins over a relative window selected with it.
    window.SetSelected(Control::单选框1, true);
    EXPECT_EQ(ComposeFilter(window, 0), "stf=1570000000,1569888000|stftype=2");
}

TEST(PageUrl, PnCountsTenResultsAPageAndTheFilterComesOnlyWhenSet) {
    struct Case {
        std::int64_t page;
        std::string filter;
        std::string url;
    } cases[] = {
        {1, "", "http://www.baidu.com/s?wd=kw&pn=0"},
        {2, "", "http://www.baidu.com/s?wd=kw&pn=10"},
        {3, "", "http://www.baidu.com/s?wd=kw&pn=20"},
        {0, "", "http://www.baidu.com/s?wd=kw&pn=-10"},
        {1, "stf=1569913600,1570000000|stftype=1",
         "http://www.baidu.com/s?wd=kw&pn=0&gpc=stf%3D1569913600%2C1570000000%7Cstftype%3D1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageUrl(c.page, "kw", c.filter), c.url) << c.page;
    }
    EXPECT_EQ(PageUrl(1, "", ""), "http://www.baidu.com/s?wd=&pn=0");
}

TEST(PageUrl, TheQueryGoesAsAUtf8QueryValue) {
    struct Case {
        std::string query;
        std::string value;
    } cases[] = {
        {"C# & AT&T", "C%23%20%26%20AT%26T"},
        {"C++ 100%", "C%2B%2B%20100%25"},
        {"a site:b.com", "a%20site%3Ab.com"},
        {"中文", "%E4%B8%AD%E6%96%87"},
        {"-._~", "-._~"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QueryValue(Gb(c.query)), c.value) << c.query;
    }
}

}  // namespace
