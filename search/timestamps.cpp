// Timestamps by calendar arithmetic on local date-times: the day difference from the epoch times
// 86400 plus the seconds of the day. The count is exact in integers, which is what a day difference
// in double precision with a small addend, truncated, gives for every count of the 32-bit range.
#include "search/timestamps.h"

#include <algorithm>
#include <ctime>
#include <limits>

#include "search/text_to_integer.h"

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The epoch is 08:00 local time on 1970-01-01.
constexpr std::int64_t kEpochSecondOfDay = 8 * 3600;

DateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return DateTime{1970, 1, 1, 8, 0, 0};
    }
    return DateTime{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                    local->tm_hour,        local->tm_min,     std::min(local->tm_sec, 59)};
}

}  // namespace

std::int32_t TimestampOf(const DateTime& value) {
    // A month outside 1..12 cannot come from a date box; it is held to that range so the arithmetic
    // stays defined for any value.
    const std::int64_t month = std::clamp(value.month, 1, 12);
    const std::int64_t days = DaysFromCivil(value.year, month, value.day);
    const std::int64_t seconds = days * 86400 + std::int64_t{value.hour} * 3600 +
                                 std::int64_t{value.minute} * 60 + value.second - kEpochSecondOfDay;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        seconds, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string UnixTimeOf(const DateTime& dateTime) {
    return NumberText(TimestampOf(dateTime));
}

std::string UnixTimeNow() {
    return UnixTimeOf(LocalNow());
}
