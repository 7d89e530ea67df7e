// Timestamps from local date-times: the same count in every time zone, clamped at the 32-bit ends.
#include "search/timestamps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace {

// Sets TZ for the scope and restores the former value.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            former_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (former_) {
            ::setenv("TZ", former_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> former_;
};

constexpr const char* kZones[] = {"UTC", "Asia/Shanghai", "America/New_York", "Pacific/Chatham",
                                  "Australia/Lord_Howe"};

}  // namespace

TEST(Timestamps, CountsSecondsFromTheEpochInLocalCalendarTermsInEveryZone) {
    struct Case {
        DateTime value;
        std::string text;
    } cases[] = {
        {{1970, 1, 1, 8, 0, 0}, "0"},
        {{1970, 1, 1, 7, 59, 59}, "-1"},
        {{1970, 1, 1, 0, 0, 0}, "-28800"},
        {{2019, 10, 2, 15, 6, 40}, "1570000000"},
        {{2019, 10, 1, 15, 6, 40}, "1569913600"},
        {{2001, 9, 9, 9, 46, 40}, "1000000000"},
        {{2000, 2, 29, 12, 0, 0}, "951796800"},
        {{2038, 1, 19, 11, 14, 7}, "2147483647"},
        {{1901, 12, 14, 4, 45, 52}, "-2147483648"},
        {{1938, 4, 25, 6, 13, 20}, "-1000000000"},
    };
    for (const char* zone : kZones) {
        ScopedTimeZone scoped(zone);
        for (const auto& c : cases) {
            EXPECT_EQ(UnixTimeOf(c.value), c.text) << zone << " " << c.value.year;
        }
    }
}

TEST(Timestamps, ClampsCountsOutsideThe32BitRange) {
    struct Case {
        DateTime value;
        std::int32_t seconds;
    } cases[] = {
        {{2038, 1, 19, 11, 14, 8}, std::numeric_limits<std::int32_t>::max()},
        {{9999, 12, 31, 23, 59, 59}, std::numeric_limits<std::int32_t>::max()},
        {{1901, 12, 14, 4, 45, 51}, std::numeric_limits<std::int32_t>::min()},
        {{100, 1, 1, 0, 0, 0}, std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimestampOf(c.value), c.seconds) << c.value.year;
    }
    // The clamped ends print whole: the service never gets a number cut short.
    EXPECT_EQ(UnixTimeOf({100, 1, 1, 0, 0, 0}), "-2147483648");
}

TEST(Timestamps, NowIsTheLocalClockReadingCountedFromTheLocalEpoch) {
    for (const char* zone : kZones) {
        ScopedTimeZone scoped(zone);
        const std::time_t before = std::time(nullptr);
        const long long now = std::stoll(UnixTimeNow());
        const std::time_t after = std::time(nullptr);
        // Local clock reading minus 08:00 of 1970-01-01 local: Unix time plus the zone's offset at
        // that moment, less eight hours.
        std::tm local{};
        ::localtime_r(&before, &local);
        const long long expectedBefore = before + local.tm_gmtoff - 8 * 3600;
        ::localtime_r(&after, &local);
        const long long expectedAfter = after + local.tm_gmtoff - 8 * 3600;
        EXPECT_GE(now, expectedBefore) << zone;
        EXPECT_LE(now, expectedAfter) << zone;
    }
}

TEST(Timestamps, NowEqualsUnixTimeOnAClockAtUtcPlusEight) {
    ScopedTimeZone scoped("Asia/Shanghai");
    const std::time_t before = std::time(nullptr);
    const long long now = std::stoll(UnixTimeNow());
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
}
