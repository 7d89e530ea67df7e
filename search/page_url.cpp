// Page URL composition with query values escaped for the wire.
#include "search/page_url.h"

#include "platform/codepage.h"
#include "search/search_query.h"
#include "search/text_to_integer.h"

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string QueryValue(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = platform::codepage::TextToUtf8(text);
    std::string value;
    value.reserve(utf8.size() * 3);
    for (unsigned char c : utf8) {
        if (IsUnreserved(c)) {
            value.push_back(static_cast<char>(c));
        } else {
            value += {'%', kHex[c >> 4], kHex[c & 0x0F]};
        }
    }
    return value;
}

std::string PageUrl(std::int64_t page, std::string_view query, std::string_view filter) {
    std::string url = "http://" + std::string(kSearchHost) + "/s?wd=" + QueryValue(query) +
                      "&pn=" + NumberText((page - 1) * 10);
    if (!filter.empty()) {
        url += "&gpc=" + QueryValue(filter);
    }
    return url;
}
