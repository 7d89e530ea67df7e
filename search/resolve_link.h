// Turns one of the search service's redirect links into the address it points to, with one request
// that does not follow the redirect.
#pragma once

#include <string>
#include <string_view>

// "http://www.baidu.com/link?url=": a result link that begins with these 30 characters is resolved.
inline constexpr std::string_view kRedirectPrefix = "http://www.baidu.com/link?url=";

// True when the link's first 30 bytes are kRedirectPrefix.
bool IsRedirectLink(std::string_view link);

// The Location header of the answer, whatever its status; for a 200 answer without one, the target of
// a script (location.replace("...")) or meta refresh redirect in its body. Empty when the request
// fails or the answer names no target; "Error!" when no request object can be made.
std::string ResolveLink(std::string_view url);
