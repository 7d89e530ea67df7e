// The request handle: option and header checks, the exchange with its redirects, and the body
// handed out chunk by chunk.
#include "platform/http_request.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/http_url.h"

namespace platform::http {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsControl(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

bool IsValidVerb(std::string_view verb) {
    return std::none_of(verb.begin(), verb.end(),
                        [](char c) { return c == ' ' || c == '\t' || IsControl(c); });
}

// A header line fit for the wire: a name before the first ":", no control character but tabs.
bool IsValidHeaderLine(std::string_view line) {
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0 || line.find_first_not_of(" \t") == colon) {
        return false;
    }
    return std::none_of(line.begin(), line.end(), IsControl);
}

bool SendsBodyAlways(std::string_view verb) {
    return verb == "POST" || verb == "PUT";
}

std::string UrlPart(CURLU* url, CURLUPart part) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, CURLU_DEFAULT_PORT) != CURLUE_OK || text == nullptr) {
        return {};
    }
    std::string copy(text);
    curl_free(text);
    return copy;
}

enum class RedirectStep { None, Follow, Fail };

// What a response means for the request: the final answer, a hop to `hop`, or a redirect that
// cannot be followed (a Location that does not resolve, or to a scheme other than http or https).
RedirectStep NextHop(ExchangeRequest& hop, const ExchangeResult& response, std::string_view location) {
    static constexpr int kFollowed[] = {301, 302, 303, 307, 308};
    if (std::find(std::begin(kFollowed), std::end(kFollowed), response.status) == std::end(kFollowed) ||
        location.empty()) {
        return RedirectStep::None;
    }
    CurlUrl url(curl_url());
    std::string target = EscapeUnsafe(location);
    if (!url || curl_url_set(url.get(), CURLUPART_URL, hop.url.c_str(), 0) != CURLUE_OK) {
        return RedirectStep::Fail;
    }
    std::string oldScheme = UrlPart(url.get(), CURLUPART_SCHEME);
    std::string oldHost = UrlPart(url.get(), CURLUPART_HOST) + ":" + UrlPart(url.get(), CURLUPART_PORT);
    if (curl_url_set(url.get(), CURLUPART_URL, target.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
        return RedirectStep::Fail;
    }
    std::string newScheme = UrlPart(url.get(), CURLUPART_SCHEME);
    if (newScheme != "http" && newScheme != "https") {
        return RedirectStep::Fail;
    }
    // A secure page does not hand the user over to a plain one; its 3xx answer is the response.
    if (oldScheme == "https" && newScheme == "http") {
        return RedirectStep::None;
    }
    curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0);
    std::string newHost = UrlPart(url.get(), CURLUPART_HOST) + ":" + UrlPart(url.get(), CURLUPART_PORT);
    hop.url = UrlPart(url.get(), CURLUPART_URL);
    if (hop.url.empty()) {
        return RedirectStep::Fail;
    }
    // Server credentials stay with the server they were given for.
    if (newHost != oldHost || newScheme != oldScheme) {
        hop.userName.clear();
        hop.password.clear();
    }
    bool toGet = (response.status == 303 && hop.verb != "HEAD") ||
                 ((response.status == 301 || response.status == 302) && hop.verb == "POST");
    if (toGet) {
        hop.verb = "GET";
        hop.body = {};
        hop.sendsBody = false;
    }
    return RedirectStep::Follow;
}

std::optional<std::string> FindHeader(const ExchangeResult& response, std::string_view name) {
    for (const auto& [headerName, value] : response.headers) {
        if (EqualsIgnoringCase(headerName, name)) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<Request> Request::Open(const Connection& connection, std::string_view verb,
                                       std::string_view objectName, bool secure) {
    if (!IsValidVerb(verb)) {
        return nullptr;
    }
    std::unique_ptr<Request> request(new Request());
    if (!request->exchange_.Valid()) {
        return nullptr;
    }
    int port = connection.Port() != 0 ? connection.Port() : (secure ? 443 : 80);
    ExchangeRequest& first = request->first_;
    first.verb = verb.empty() ? "GET" : std::string(verb);
    first.url = ComposeUrl(secure, connection.Host(), port, objectName.empty() ? "/" : objectName);
    first.proxy = connection.GetSession().ProxyFor(secure);
    first.timeouts = connection.GetSession().GetTimeouts();
    first.cookieEngine = true;
    return request;
}

bool Request::SetCredentials(AuthTarget target, int scheme, std::string_view userName,
                             std::string_view password) {
    if (scheme != kAuthSchemeBasic || stage_ != Stage::Opened) {
        return false;
    }
    if (target == AuthTarget::Server) {
        first_.userName = std::string(userName);
        first_.password = std::string(password);
        return true;
    }
    if (target == AuthTarget::Proxy) {
        first_.proxyUserName = std::string(userName);
        first_.proxyPassword = std::string(password);
        return true;
    }
    return false;
}

bool Request::SetOption(int option, std::uint32_t value) {
    constexpr std::uint32_t kKnownSecurityFlags = kSecurityIgnoreUnknownCa | kSecurityIgnoreWrongUsage |
                                                  kSecurityIgnoreCnInvalid | kSecurityIgnoreDateInvalid;
    constexpr std::uint32_t kKnownDisable =
        kDisableCookies | kDisableRedirects | kDisableAuthentication | kDisableKeepAlive;
    switch (option) {
        case kOptionSecurityFlags:
            if ((value & ~kKnownSecurityFlags) != 0) {
                return false;
            }
            first_.verifyPeer = (value & kSecurityIgnoreUnknownCa) == 0;
            first_.verifyHost = (value & kSecurityIgnoreCnInvalid) == 0;
            return true;
        case kOptionDisableFeature:
            if ((value & ~kKnownDisable) != 0) {
                return false;
            }
            if ((value & kDisableCookies) != 0) {
                first_.cookieEngine = false;
            }
            if ((value & kDisableRedirects) != 0) {
                followRedirects_ = false;
            }
            return true;
        case kOptionEnableFeature:
            return value == kEnableSslRevocation;
        default:
            return false;
    }
}

bool Request::AddHeaders(std::string_view block) {
    std::vector<std::string> lines;
    while (!block.empty()) {
        std::size_t end = std::min(block.find("\r\n"), block.size());
        std::string_view line = block.substr(0, end);
        block.remove_prefix(std::min(end + 2, block.size()));
        if (line.empty()) {
            continue;
        }
        if (!IsValidHeaderLine(line)) {
            return false;
        }
        lines.emplace_back(line);
    }
    first_.headerLines.insert(first_.headerLines.end(), lines.begin(), lines.end());
    return true;
}

bool Request::Send(std::string_view body) {
    if (stage_ != Stage::Opened) {
        return false;
    }
    // The exchange runs within this call, so the caller's bytes outlive every use of them.
    first_.body = body;
    first_.sendsBody = !body.empty() || SendsBodyAlways(first_.verb);
    ExchangeRequest hop = first_;
    ExchangeResult result = exchange_.Perform(hop);
    if (result.outcome == ExchangeResult::Outcome::SendFailed) {
        return false;
    }
    for (int followed = 0;; ++followed) {
        if (result.outcome == ExchangeResult::Outcome::SendFailed ||
            result.outcome == ExchangeResult::Outcome::ReceiveFailed) {
            stage_ = Stage::ReceiveFailed;
            return true;
        }
        RedirectStep step = followRedirects_
                                ? NextHop(hop, result, FindHeader(result, "Location").value_or(""))
                                : RedirectStep::None;
        if (step == RedirectStep::None) {
            break;
        }
        if (step == RedirectStep::Fail || followed == kMaxRedirects) {
            stage_ = Stage::ReceiveFailed;
            return true;
        }
        result = exchange_.Perform(hop);
    }
    response_ = std::move(result);
    stage_ = Stage::Received;
    return true;
}

bool Request::ReceiveResponse() {
    return stage_ == Stage::Received;
}

bool Request::QueryDataAvailable(std::size_t& available) {
    available = 0;
    if (stage_ != Stage::Received) {
        return false;
    }
    available = response_.body.size() - readOffset_;
    if (available == 0 && response_.outcome == ExchangeResult::Outcome::BodyBroken) {
        // The body stopped short: one more byte is announced and reading it fails.
        available = 1;
    }
    return true;
}

std::size_t Request::NextChunkSize(std::size_t size) const {
    return stage_ == Stage::Received ? std::min(size, response_.body.size() - readOffset_) : 0;
}

// Reading nothing succeeds at the end of a whole body and fails after a broken one.
bool Request::EmptyReadSucceeds(std::size_t size) const {
    return stage_ == Stage::Received &&
           (size == 0 || response_.outcome != ExchangeResult::Outcome::BodyBroken);
}

bool Request::ReadData(char* buffer, std::size_t size, std::size_t& read) {
    read = NextChunkSize(size);
    if (read == 0) {
        return EmptyReadSucceeds(size);
    }
    std::memcpy(buffer, response_.body.data() + readOffset_, read);
    readOffset_ += read;
    return true;
}

bool Request::ReadData(std::string& body, std::size_t size, std::size_t& read) {
    read = NextChunkSize(size);
    if (read == 0) {
        return EmptyReadSucceeds(size);
    }
    if (body.empty() && readOffset_ == 0 && read == response_.body.size()) {
        body = std::move(response_.body);
        response_.body.clear();
        readOffset_ = 0;
        return true;
    }
    body.append(response_.body, readOffset_, read);
    readOffset_ += read;
    return true;
}

std::optional<std::string> Request::QueryRawHeaders() const {
    if (stage_ != Stage::Received) {
        return std::nullopt;
    }
    return response_.rawHeaders;
}

int Request::StatusCode() const {
    return stage_ == Stage::Received ? response_.status : 0;
}

std::optional<std::string> Request::ResponseHeader(std::string_view name) const {
    if (stage_ != Stage::Received) {
        return std::nullopt;
    }
    return FindHeader(response_, name);
}

}  // namespace platform::http
