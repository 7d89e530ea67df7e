// What the engine reads from the raw response header block: the status text, the cookies the
// response sets, the redirect target. All texts are program text.
#pragma once

#include <string>
#include <string_view>

#include "web/web_request.h"

namespace web {

// The block from its 10th character up to the first CR LF at or after it ("200 OK" of
// "HTTP/1.1 200 OK\r\n"); empty when there is no such CR LF.
std::string StatusTextOf(std::string_view rawHeaders);

// Fills ResponseHeaders and StatusText, appends the cookies the response sets to ReturnedCookies,
// takes RedirectLocation from the last Location line and merges the sent cookies in. Pending events
// are processed after each line.
void EvaluateResponseHeaders(std::string_view rawHeaders, const WebRequestOptions& options,
                             WebRequestOutputs& outputs, const ProcessPendingEvents& processEvents);

}  // namespace web
