// What one press searches for: the query (the keyword with the chosen source's site restriction) and
// the time filter, both composed from the window's options at the moment of the press.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "search/window_controls.h"

// The host of the search service, in the page URL and in the redirect links it hands out.
inline constexpr std::string_view kSearchHost = "www.baidu.com";

// The domains the fixed sources restrict the search to, as " site:" takes them.
inline constexpr std::string_view kTiebaDomain = "tieba.baidu.com";
inline constexpr std::string_view kWeiboDomain = "weibo.com";
inline constexpr std::string_view kBilibiliDomain = "bilibili.com";
inline constexpr std::string_view kSteamCommunityDomain = "steamcommunity.com";

// The keyword of 编辑框1, unchanged, followed by " site:" and the domain of the selected source; the
// keyword alone for the whole web; empty when no source is selected. When several sources are
// selected the last in the order Tieba, Weibo, Bilibili, Steam, custom, whole web wins.
std::string ComposeQuery(const WindowControls& window);

// "stf=FROM,TO|stftype=1" for a relative window ending at `now`, "stf=FROM,TO|stftype=2" for the
// custom range of the two date boxes (in that order, whichever is earlier), empty for no limit.
std::string ComposeFilter(const WindowControls& window, std::int32_t now);
