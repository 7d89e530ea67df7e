// The texts the search writes to the status bar, in program text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "请输入自定义网址！！！！！！": the custom source was chosen without a site.
std::string CustomSiteMissingText();

// "本次获取到" count "个结果，以上共计" rows "个结果!": after a page that was fetched.
std::string PageTotalsText(std::int64_t resultCount, std::int64_t rowCount);

// After a page whose request failed: names the page and the web engine's message.
std::string FailedPageText(std::int64_t page, std::string_view engineMessage, std::int64_t rowCount);

// After the service answered a page with its verification page instead of results.
std::string VerificationPageText(std::int64_t page, std::int64_t rowCount);
