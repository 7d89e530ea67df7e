// The date-time text of the settings file, written and read.
#include "search/date_time_text.h"

#include <gtest/gtest.h>

#include "tests/support/fake_window.h"

using testsupport::Gb;

TEST(DateTimeText, WritesTheTimeOfDayOnlyAsFarAsItIsNotZero) {
    struct Case {
        DateTime value;
        std::string utf8;
    } cases[] = {
        {{2019, 10, 12, 0, 0, 0}, "2019年10月12日"},
        {{2019, 10, 12, 8, 5, 0}, "2019年10月12日8时5分"},
        {{2019, 10, 12, 8, 0, 3}, "2019年10月12日8时0分3秒"},
        {{2019, 10, 12, 8, 0, 0}, "2019年10月12日8时"},
        {{2019, 1, 2, 0, 7, 0}, "2019年1月2日0时7分"},
        {{100, 1, 1, 0, 0, 0}, "100年1月1日"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateTimeText(c.value), Gb(c.utf8)) << c.utf8;
        EXPECT_EQ(ReadDateTimeText(Gb(c.utf8)), c.value) << c.utf8;
    }
}

TEST(DateTimeText, ReadsTheSeparatorForms) {
    struct Case {
        std::string utf8;
        DateTime value;
    } cases[] = {
        {"2019-10-12", {2019, 10, 12, 0, 0, 0}},
        {"2019/10/12", {2019, 10, 12, 0, 0, 0}},
        {"2019.10.12", {2019, 10, 12, 0, 0, 0}},
        {"2019:10:12", {2019, 10, 12, 0, 0, 0}},
        {"2019-10-12 08:05:03", {2019, 10, 12, 8, 5, 3}},
        {"2019/1/2 8:05", {2019, 1, 2, 8, 5, 0}},
        {"2019-10-12 8", {2019, 10, 12, 8, 0, 0}},
        {"2019年10-12日08:05:03秒", {2019, 10, 12, 8, 5, 3}},
        {"2019-10-12-23-59-59", {2019, 10, 12, 23, 59, 59}},
        {"2000-02-29", {2000, 2, 29, 0, 0, 0}},
        {"9999-12-31 23:59:59", {9999, 12, 31, 23, 59, 59}},
        {"100-1-1", {100, 1, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadDateTimeText(Gb(c.utf8)), c.value) << c.utf8;
    }
}

TEST(DateTimeText, ReadsAnythingInvalidAsTheEarliestDateTime) {
    const char* cases[] = {
        "",
        "abc",
        "2019",
        "2019-10",
        "2019-10-",
        "99-10-12",     // year below 100
        "12019-10-12",  // five-digit year
        "2019-13-01",   // month 13
        "2019-00-01",
        "2019-02-30",  // 30 February
        "1900-02-29",  // not a leap year
        "2019-10-32",
        "2019-10-12 24:00",  // hour 24
        "2019-10-12 23:60",  // minute 60
        "2019-10-12 23:59:60",
        "2019-10-123",
        "2019-10-12 08:05:03:01",
        "2019-10-12x",
        " 2019-10-12",
        "2019 10 12",
        "-2019-10-12",
        "2019年10月12日 8时",  // 日 and a blank: two separators in a row
    };
    for (const char* text : cases) {
        EXPECT_EQ(ReadDateTimeText(text), kEarliestDateTime) << text;
    }
}
