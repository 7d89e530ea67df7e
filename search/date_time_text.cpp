// The date-time text of the settings file, both ways.
#include "search/date_time_text.h"

#include <optional>

#include "search/text_to_integer.h"

namespace {

// The unit characters in program text (GBK).
constexpr std::string_view kYear = "\xC4\xEA";    // 年
constexpr std::string_view kMonth = "\xD4\xC2";   // 月
constexpr std::string_view kDay = "\xC8\xD5";     // 日
constexpr std::string_view kHour = "\xCA\xB1";    // 时
constexpr std::string_view kMinute = "\xB7\xD6";  // 分
constexpr std::string_view kSecond = "\xC3\xEB";  // 秒

// Walks a text field by field; every read either consumes what it accepts or nothing.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }

    std::optional<int> Number(std::size_t maxDigits) {
        std::size_t digits = 0;
        int value = 0;
        while (digits < maxDigits && pos_ + digits < text_.size() && IsDigit(text_[pos_ + digits])) {
            value = value * 10 + (text_[pos_ + digits] - '0');
            ++digits;
        }
        if (digits == 0 || (pos_ + digits < text_.size() && IsDigit(text_[pos_ + digits]))) {
            return std::nullopt;
        }
        pos_ += digits;
        return value;
    }

    // The unit character, one of the ASCII separators, or a space where `spaceToo` allows it.
    bool Separator(std::string_view unit, bool spaceToo = false) {
        if (text_.substr(pos_).starts_with(unit)) {
            pos_ += unit.size();
            return true;
        }
        if (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '-' || c == '/' || c == '.' || c == ':' || (spaceToo && c == ' ')) {
                ++pos_;
                return true;
            }
        }
        return false;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValid(const DateTime& v) {
    return v.year >= 100 && v.year <= 9999 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
           v.day <= DaysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 && v.minute >= 0 &&
           v.minute <= 59 && v.second >= 0 && v.second <= 59;
}

// The time of day after the date: hour, then optionally minute and second, each with an optional
// closing unit after the last field read.
bool ReadTimeOfDay(Reader& reader, DateTime& value) {
    auto hour = reader.Number(2);
    if (!hour) {
        return false;
    }
    value.hour = *hour;
    if (!reader.Separator(kHour) || reader.AtEnd()) {
        return true;
    }
    auto minute = reader.Number(2);
    if (!minute) {
        return false;
    }
    value.minute = *minute;
    if (!reader.Separator(kMinute) || reader.AtEnd()) {
        return true;
    }
    auto second = reader.Number(2);
    if (!second) {
        return false;
    }
    value.second = *second;
    reader.Separator(kSecond);
    return true;
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
    Reader reader(text);
    DateTime value{};
    auto year = reader.Number(4);
    if (!year || !reader.Separator(kYear)) {
        return std::nullopt;
    }
    auto month = reader.Number(2);
    if (!month || !reader.Separator(kMonth)) {
        return std::nullopt;
    }
    auto day = reader.Number(2);
    if (!day) {
        return std::nullopt;
    }
    value.year = *year;
    value.month = *month;
    value.day = *day;
    if (reader.Separator(kDay, true) && !reader.AtEnd() && !ReadTimeOfDay(reader, value)) {
        return std::nullopt;
    }
    if (!reader.AtEnd()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string DateTimeText(const DateTime& value) {
    std::string text = NumberText(value.year) + std::string(kYear) + NumberText(value.month) +
                       std::string(kMonth) + NumberText(value.day) + std::string(kDay);
    if (value.second != 0) {
        text += NumberText(value.hour) + std::string(kHour) + NumberText(value.minute) +
                std::string(kMinute) + NumberText(value.second) + std::string(kSecond);
    } else if (value.minute != 0) {
        text += NumberText(value.hour) + std::string(kHour) + NumberText(value.minute) + std::string(kMinute);
    } else if (value.hour != 0) {
        text += NumberText(value.hour) + std::string(kHour);
    }
    return text;
}

DateTime ReadDateTimeText(std::string_view text) {
    auto value = ParseDateTime(text);
    return value && IsValid(*value) ? *value : kEarliestDateTime;
}
