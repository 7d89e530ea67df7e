// What kind of answer a result page request brought: a page to read, a failure, or the service's
// verification page that it sends instead of results once it suspects a robot.
#pragma once

#include <string_view>

#include "web/web_request.h"

enum class PageAnswer {
    Page,          // a 2xx answer: its text is read for results
    Failed,        // no answer, or an error status: the engine's message says which
    Verification,  // a redirect to the captcha site, or a page titled "百度安全验证"
};

// `pageText` is the program text WebRequest returned, `outputs` what it reported.
PageAnswer ClassifyPageAnswer(std::string_view pageText, const WebRequestOutputs& outputs);
