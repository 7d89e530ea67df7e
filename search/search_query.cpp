// Query and time filter composition. Each selected option replaces what an earlier one set, so the
// last selected option of the list wins.
#include "search/search_query.h"

#include <array>

#include "search/text_to_integer.h"
#include "search/timestamps.h"

namespace {

struct SiteSource {
    Control control;
    std::string_view domain;
};

constexpr std::array kSiteSources{
    SiteSource{Control::单选框EX1, kTiebaDomain},
    SiteSource{Control::单选框EX2, kWeiboDomain},
    SiteSource{Control::单选框EX6, kBilibiliDomain},
    SiteSource{Control::单选框EX8, kSteamCommunityDomain},
};

struct RelativeWindow {
    Control control;
    std::int64_t seconds;
};

constexpr std::array kRelativeWindows{
    RelativeWindow{Control::单选框1, 86400},     // one day
    RelativeWindow{Control::单选框2, 604800},    // seven days
    RelativeWindow{Control::单选框3, 2592000},   // thirty days
    RelativeWindow{Control::单选框4, 31536000},  // 365 days
};

std::string TimeFilter(std::string_view from, std::string_view to, char type) {
    return "stf=" + std::string(from) + "," + std::string(to) + "|stftype=" + type;
}

}  // namespace

std::string ComposeQuery(const WindowControls& window) {
    const std::string keyword = window.Text(Control::编辑框1);
    std::string query;
    for (const auto& [control, domain] : kSiteSources) {
        if (window.IsSelected(control)) {
            query = keyword + " site:" + std::string(domain);
        }
    }
    if (window.IsSelected(Control::单选框EX7)) {
        query = keyword + " site:" + window.Text(Control::编辑框4);
    }
    if (window.IsSelected(Control::单选框EX3)) {
        query = keyword;
    }
    return query;
}

std::string ComposeFilter(const WindowControls& window, std::int32_t now) {
    std::string filter;
    for (const auto& [control, seconds] : kRelativeWindows) {
        if (window.IsSelected(control)) {
            filter = TimeFilter(NumberText(now - seconds), NumberText(now), '1');
        }
    }
    if (window.IsSelected(Control::单选框5)) {
        filter = TimeFilter(UnixTimeOf(window.DateValue(Control::日期框_起始)),
                            UnixTimeOf(window.DateValue(Control::日期框_截止)), '2');
    }
    return filter;
}
