// The address of one result page of the search service.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "http://www.baidu.com/s?wd=" query "&pn=" (page - 1) * 10, then "&gpc=" filter when there is one.
// Query and filter go in as query values: UTF-8, percent-encoded, so "C#", "C++", "AT&T" or "100%"
// reach the service as typed.
std::string PageUrl(std::int64_t page, std::string_view query, std::string_view filter);

// Program text as a URL query value: its UTF-8 bytes, every byte but A-Z, a-z, 0-9, "-", ".", "_"
// and "~" written as "%" and two upper-case hex digits.
std::string QueryValue(std::string_view text);
