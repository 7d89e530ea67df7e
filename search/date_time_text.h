// Date-times as the settings file keeps them: "2019年10月12日" for midnight, with "8时", "8时5分" or
// "8时0分3秒" following directly for other times of day.
#pragma once

#include <string>
#include <string_view>

#include "search/window_controls.h"

// The earliest date-time, which every text that is not a valid date-time reads as.
inline constexpr DateTime kEarliestDateTime{100, 1, 1, 0, 0, 0};

// Program text: "%d年%d月%d日", then "%d时%d分%d秒" when the seconds are not 0, "%d时%d分" when
// the minutes are not 0, "%d时" when the hour is not 0.
std::string DateTimeText(const DateTime& value);

// Reads the written form and its variants: "-", "/", "." or ":" may stand for any unit character and
// a space for 日; the year has one to four digits, the other fields one or two; the date part must be
// complete, the time part may stop after any field. Anything else, and any field out of range (year
// below 100, month 13, 30 February, hour 24, minute or second 60), reads as kEarliestDateTime.
DateTime ReadDateTimeText(std::string_view text);
