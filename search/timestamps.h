// Timestamps of the time filter: whole seconds from 1970-01-01 08:00:00 local time to a local
// date-time, taken in local calendar terms, so the machine's time zone never enters. On a clock that
// runs at UTC+8 this is the Unix time the search service expects.
#pragma once

#include <cstdint>
#include <string>

#include "search/window_controls.h"

// The seconds from 1970-01-01 08:00:00 to `value`, both local, negative before it. Counts outside the
// 32-bit signed range are clamped to its ends (before 1901-12-14 04:45:52 and after 2038-01-19
// 11:14:07), so the search service always receives a number it can read.
std::int32_t TimestampOf(const DateTime& value);

// TimestampOf as decimal text, "-" and digits before the epoch.
std::string UnixTimeOf(const DateTime& dateTime);

// The timestamp of the local clock's current reading, to the whole second, as decimal text.
std::string UnixTimeNow();
