// The harvest of one result page: fetch it, extract every result's title and link, drop titles that
// hold a blacklisted word, and append one row per kept result with its link resolved.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/window_controls.h"

// Finds each result's title (group 1) and link (group 2) in the page. A title or link that holds a
// double quote does not match.
inline constexpr std::string_view kExtractionPattern = R"(\"title\":\"([^\"]*)\",\"url\":\"([^\"]*)\")";

enum class PageOutcome {
    Harvested,          // the page was read; its rows are in the list
    RequestFailed,      // no page came; the status bar names the failure
    VerificationAsked,  // the service wants a verification instead of serving results
    WindowClosed,       // the window was closed while the page was in progress
};

// Harvests page `page` (1 is the first) of `query` with the time `filter`, dropping titles that
// contain one of `keywords`. Titles and links are decoded from the page's character references and
// script escapes before anything uses them. Adds the page's match count to RunResultCount and writes the
// status text, and lets the window process events before each result and each blacklist test.
PageOutcome HarvestPage(WindowControls& window, std::int64_t page, const std::string& query,
                        const std::vector<std::string>& keywords, const std::string& filter);
