// One libcurl transfer and the bookkeeping that tells its failures apart: a callback before the
// request is sent marks the connection as made, the header callback marks the head as complete, and
// the progress callback enforces "no progress for the send or receive timeout".
#include "platform/http_exchange.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdint>

#include "platform/http_connect_to_rules.h"

namespace platform::http {

namespace {

using Clock = std::chrono::steady_clock;

bool HasHeaderNamed(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(), [name](const std::string& line) {
        std::size_t colon = line.find_first_of(":;");
        std::string_view lineName = std::string_view(line).substr(0, colon);
        while (!lineName.empty() && (lineName.back() == ' ' || lineName.back() == '\t')) {
            lineName.remove_suffix(1);
        }
        return lineName.size() == name.size() &&
               std::equal(name.begin(), name.end(), lineName.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    });
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return line;
}

// Room for the announced body, so that it is not copied as it grows; a larger announcement than
// the cap is not trusted with memory before the bytes arrive.
void ReserveForBody(ExchangeResult& result) {
    constexpr std::uint64_t kMostReserved = 64ull << 20;
    for (const auto& [name, value] : result.headers) {
        if (name.size() == 14 && std::equal(name.begin(), name.end(), "content-length", [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            std::uint64_t length = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
            if (error == std::errc() && end == value.data() + value.size()) {
                result.body.reserve(static_cast<std::size_t>(std::min(length, kMostReserved)));
            }
            return;
        }
    }
}

// What the callbacks learn during one transfer.
struct Progress {
    const Timeouts* timeouts = nullptr;
    curl_off_t bodySize = 0;
    bool connected = false;
    bool headComplete = false;
    bool inHead = false;
    bool uploadDone = false;
    bool requestSent = false;
    curl_off_t lastDown = -1;
    curl_off_t lastUp = -1;
    Clock::time_point lastProgress = Clock::now();
    ExchangeResult* result = nullptr;
};

int OnConnected(void* user, char*, char*, int, int) {
    auto* progress = static_cast<Progress*>(user);
    progress->connected = true;
    progress->lastProgress = Clock::now();
    return CURL_PREREQFUNC_OK;
}

// The head starts anew at every status line, so 1xx answers and anything before the final head are
// dropped; lines after the final head (trailers) are not part of it.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* progress = static_cast<Progress*>(user);
    std::string_view line(data, size * count);
    ExchangeResult& result = *progress->result;
    progress->lastProgress = Clock::now();
    if (line.starts_with("HTTP/")) {
        result.rawHeaders.assign(WithoutLineEnd(line));
        result.rawHeaders += "\r\n";
        result.headers.clear();
        std::size_t space = line.find(' ');
        result.status = 0;
        for (std::size_t i = space == std::string_view::npos ? line.size() : space + 1;
             i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && result.status < 1000;
             ++i) {
            result.status = result.status * 10 + (line[i] - '0');
        }
        progress->inHead = true;
        progress->headComplete = false;
        return size * count;
    }
    if (!progress->inHead) {
        return size * count;
    }
    std::string_view content = WithoutLineEnd(line);
    if (content.empty()) {
        progress->inHead = false;
        progress->headComplete = result.status >= 200;
        if (progress->headComplete) {
            ReserveForBody(result);
        }
        return size * count;
    }
    result.rawHeaders.append(content);
    result.rawHeaders += "\r\n";
    std::size_t colon = content.find(':');
    if (colon != std::string_view::npos) {
        result.headers.emplace_back(TrimBlanks(content.substr(0, colon)),
                                    TrimBlanks(content.substr(colon + 1)));
    }
    return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* progress = static_cast<Progress*>(user);
    progress->lastProgress = Clock::now();
    progress->result->body.append(data, size * count);
    return size * count;
}

// Gives up when neither direction has moved for the timeout of the current phase: sending until the
// body is out, receiving after.
int OnTransferInfo(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    auto* progress = static_cast<Progress*>(user);
    Clock::time_point now = Clock::now();
    if (downloaded != progress->lastDown || uploaded != progress->lastUp) {
        progress->lastDown = downloaded;
        progress->lastUp = uploaded;
        progress->lastProgress = now;
    }
    if (uploaded >= progress->bodySize) {
        progress->uploadDone = true;
    }
    if (!progress->connected) {
        return 0;
    }
    int limitMs = progress->uploadDone ? progress->timeouts->receiveMs : progress->timeouts->sendMs;
    bool stalled = limitMs > 0 && now - progress->lastProgress > std::chrono::milliseconds(limitMs);
    return stalled ? 1 : 0;
}

// libcurl adds some headers of its own; those the caller did not give are switched off, so the
// wire carries Host and then exactly the caller's lines.
std::vector<std::string> WireHeaderLines(const ExchangeRequest& request) {
    std::vector<std::string> lines;
    lines.reserve(request.headerLines.size() + 3);
    for (const std::string& line : request.headerLines) {
        // "Name:" alone would tell libcurl to drop the header; "Name;" sends it with no value.
        std::size_t colon = line.find(':');
        bool noValue = TrimBlanks(std::string_view(line).substr(colon + 1)).empty();
        lines.push_back(noValue ? line.substr(0, colon) + ";" : line);
    }
    for (const char* own : {"Accept", "Expect", "Content-Type"}) {
        if (!HasHeaderNamed(request.headerLines, own)) {
            lines.push_back(std::string(own) + ":");
        }
    }
    return lines;
}

void SetVerb(CURL* easy, const ExchangeRequest& request) {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(easy, CURLOPT_NOBODY, 0L);
    if (request.verb == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        return;
    }
    if (request.sendsBody) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    } else {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    if (request.verb != (request.sendsBody ? "POST" : "GET")) {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }
}

// Null pointers clear what an earlier hop set.
void SetCredentials(CURL* easy, const ExchangeRequest& request) {
    bool server = !request.userName.empty() || !request.password.empty();
    curl_easy_setopt(easy, CURLOPT_USERNAME, server ? request.userName.c_str() : nullptr);
    curl_easy_setopt(easy, CURLOPT_PASSWORD, server ? request.password.c_str() : nullptr);
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    bool proxy = !request.proxyUserName.empty() || !request.proxyPassword.empty();
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy ? request.proxyUserName.c_str() : nullptr);
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxy ? request.proxyPassword.c_str() : nullptr);
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
}

void SetTimeouts(CURL* easy, const Timeouts& timeouts) {
    // Resolving and connecting are one phase for libcurl; it gets the longer of the two limits.
    long connectMs = std::max(timeouts.resolveMs, timeouts.connectMs);
    if (connectMs > 0) {
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    } else {
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, 0L);
    }
}

ExchangeResult::Outcome Classify(CURLcode code, const Progress& progress, const ExchangeRequest& request) {
    if (code == CURLE_OK && progress.headComplete) {
        return ExchangeResult::Outcome::Complete;
    }
    if (!progress.connected || !progress.requestSent) {
        return ExchangeResult::Outcome::SendFailed;
    }
    if (!progress.headComplete) {
        bool bodyStuck = request.sendsBody && !progress.uploadDone && !request.body.empty();
        return bodyStuck ? ExchangeResult::Outcome::SendFailed : ExchangeResult::Outcome::ReceiveFailed;
    }
    return ExchangeResult::Outcome::BodyBroken;
}

}  // namespace

Exchange::Exchange() : easy_(curl_easy_init()) {}

ExchangeResult Exchange::Perform(const ExchangeRequest& request) {
    ExchangeResult result;
    if (!easy_) {
        return result;
    }
    // Every option is set on every call, so nothing of an earlier hop lingers. (curl_easy_reset is
    // avoided: with the cookie engine on it leaks libcurl's list of cookie files.)
    CURL* easy = easy_.get();

    Progress progress;
    progress.timeouts = &request.timeouts;
    progress.bodySize = request.sendsBody ? static_cast<curl_off_t>(request.body.size()) : 0;
    progress.result = &result;

    CurlList headers(WireHeaderLines(request));
    CurlList connectTo(CurrentConnectToRules());

    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_PROXY, request.proxy.c_str());
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, request.verifyPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, request.verifyHost ? 2L : 0L);
    curl_easy_setopt(easy, CURLOPT_PROXY_SSL_VERIFYPEER, request.verifyPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_PROXY_SSL_VERIFYHOST, request.verifyHost ? 2L : 0L);
    // The engine, once started, keeps its jar for the handle's life.
    if (request.cookieEngine && !cookieEngineStarted_) {
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
        cookieEngineStarted_ = true;
    }
    SetVerb(easy, request);
    SetCredentials(easy, request);
    SetTimeouts(easy, request.timeouts);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.Get());
    curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo.Get());
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &OnConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &progress);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &progress);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &progress);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &OnTransferInfo);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress);

    CURLcode code = curl_easy_perform(easy);
    curl_off_t uploaded = 0;
    if (curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &uploaded) == CURLE_OK &&
        uploaded >= progress.bodySize) {
        progress.uploadDone = true;
    }
    // libcurl refuses a request head above its own limit after connecting; nothing was sent then.
    long requestSize = 0;
    progress.requestSent =
        curl_easy_getinfo(easy, CURLINFO_REQUEST_SIZE, &requestSize) == CURLE_OK && requestSize > 0;
    result.outcome = Classify(code, progress, request);
    // The handle keeps pointers to the lists; they go when this call ends.
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(easy, CURLOPT_CONNECT_TO, nullptr);
    return result;
}

}  // namespace platform::http
