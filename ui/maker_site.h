// The project's own home page, which the advert item of the list's menu and a press on the line
// under the list open, and the advert item's caption that invites the user there.
#pragma once

inline constexpr char kMakerSiteUrl[] = "https://search-collector.github.io/";
inline constexpr char kAdvertCaption[] = "访问拾穗集项目主页";
