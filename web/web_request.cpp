// WebRequest: the steps of one request in their order, each failing with its own message. The
// handles live in the call and close in the order request, connection, session on every road.
#include "web/web_request.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/codepage.h"
#include "platform/com.h"
#include "platform/http_request.h"
#include "platform/http_session.h"
#include "platform/http_url.h"
#include "regex/regex_matcher.h"
#include "web/header_block.h"
#include "web/page_charset.h"
#include "web/response_headers.h"
#include "web/web_messages.h"

namespace {

namespace http = platform::http;
namespace codepage = platform::codepage;

constexpr int kDefaultTimeoutSeconds = 30;
constexpr std::uint32_t kIgnoredCertificateErrors =
    http::kSecurityIgnoreUnknownCa | http::kSecurityIgnoreWrongUsage | http::kSecurityIgnoreCnInvalid |
    http::kSecurityIgnoreDateInvalid;

// How a call ends: through the end step, which processes pending events, or at once without them.
enum class Ending { ThroughEnd, AtOnce };

const char* Verb(int method) {
    static constexpr const char* kVerbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                             "OPTIONS", "DELETE", "TRACE", "CONNECT"};
    return method >= 0 && method < 8 ? kVerbs[method] : "GET";
}

int TimeoutMilliseconds(int timeoutSeconds) {
    int seconds = timeoutSeconds > 0 ? timeoutSeconds : kDefaultTimeoutSeconds;
    return seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

std::string_view UpToFirstZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// The text up to its first zero byte, in place.
std::string CutAtFirstZero(std::string text) {
    text.resize(UpToFirstZero(text).size());
    return text;
}

class RequestCall {
public:
    RequestCall(std::string_view url, const WebRequestOptions& options, WebRequestOutputs* outputs,
                const ProcessPendingEvents& processEvents, RegexMatcher& matcher)
        : url_(url),
          options_(options),
          outputs_(outputs != nullptr ? *outputs : scratch_),
          callerReadsOutputs_(outputs != nullptr),
          processEvents_(processEvents),
          matcher_(matcher) {}

    // Steps 2 to 16.
    Ending Run();
    // The handles in the order request, connection, session.
    void Close() {
        request_.reset();
        connection_.reset();
        session_.reset();
    }
    std::string TakePageText() { return std::move(pageText_); }

private:
    Ending Fail(std::string_view message, Ending ending = Ending::ThroughEnd) {
        outputs_.StatusText = web::MessageText(message);
        return ending;
    }
    bool OpenSession(bool secure);
    bool SetCredentials();
    bool SetCookieOption();
    std::string BuildHeaderBlock() const;
    std::string_view RequestBody() const;
    void ReadBody();
    void DecodeByDeclaredCharset();
    void ProcessEvents() const {
        if (processEvents_) {
            processEvents_();
        }
    }

    std::string_view url_;
    const WebRequestOptions& options_;
    WebRequestOutputs scratch_;
    WebRequestOutputs& outputs_;
    bool callerReadsOutputs_;
    const ProcessPendingEvents& processEvents_;
    RegexMatcher& matcher_;
    std::unique_ptr<http::Session> session_;
    std::unique_ptr<http::Connection> connection_;
    std::unique_ptr<http::Request> request_;
    std::string body_;
    std::string pageText_;
};

Ending RequestCall::Run() {
    if (!http::CheckPlatform()) {
        return Fail(web::kMsgNoPlatform, Ending::AtOnce);
    }
    std::optional<http::UrlComponents> parts = http::CrackUrl(codepage::TextToUtf8(url_));
    if (!parts) {
        return Fail(web::kMsgCrackUrl);
    }
    if (!OpenSession(parts->secure)) {
        return Fail(web::kMsgOpenSession);
    }
    int timeoutMs = TimeoutMilliseconds(options_.TimeoutSeconds);
    if (!session_->SetTimeouts(timeoutMs, timeoutMs, timeoutMs, timeoutMs)) {
        return Fail(web::kMsgTimeouts);
    }
    connection_ = http::Connection::Open(*session_, parts->host, parts->port);
    if (!connection_) {
        return Fail(web::kMsgConnect);
    }
    // An empty path asks for "/" and leaves the extra information out.
    std::string objectName = parts->path.empty() ? "/" : parts->path + parts->extraInfo;
    request_ = http::Request::Open(*connection_, Verb(options_.Method), objectName, parts->secure);
    if (!request_) {
        return Fail(web::kMsgOpenRequest);
    }
    if (!SetCredentials()) {
        return Fail(web::kMsgCredentials, Ending::AtOnce);
    }
    if (!request_->SetOption(http::kOptionSecurityFlags, kIgnoredCertificateErrors)) {
        return Fail(web::kMsgCertificateFlags, Ending::AtOnce);
    }
    if (!SetCookieOption()) {
        return Fail(web::kMsgCookieOption, Ending::AtOnce);
    }
    if (options_.NoRedirect && !request_->SetOption(http::kOptionDisableFeature, http::kDisableRedirects)) {
        return Fail(web::kMsgRedirectOption, Ending::AtOnce);
    }
    if (!request_->AddHeaders(BuildHeaderBlock())) {
        return Fail(web::kMsgHeaders);
    }
    if (!request_->Send(RequestBody())) {
        return Fail(web::kMsgSend);
    }
    if (!request_->ReceiveResponse()) {
        return Fail(web::kMsgReceive);
    }
    ReadBody();
    std::optional<std::string> rawHeaders = request_->QueryRawHeaders();
    if (!rawHeaders) {
        return Ending::ThroughEnd;
    }
    web::EvaluateResponseHeaders(*rawHeaders, options_, outputs_, processEvents_);
    // Scratch outputs are never read: the body is copied only for a caller who asked for it.
    if (callerReadsOutputs_) {
        outputs_.ResponseBytes = body_;
    }
    DecodeByDeclaredCharset();
    return Ending::ThroughEnd;
}

bool RequestCall::OpenSession(bool secure) {
    if (options_.Proxy.empty()) {
        session_ = http::Session::Open(http::Session::Access::NoProxy, {});
    } else {
        // A plain-HTTP request names the proxy for its scheme only.
        std::string proxy = codepage::TextToUtf8(options_.Proxy);
        session_ = http::Session::Open(http::Session::Access::NamedProxy, secure ? proxy : "http=" + proxy);
    }
    return session_ != nullptr;
}

bool RequestCall::SetCredentials() {
    if (!options_.UserName.empty() && !options_.Password.empty() &&
        !request_->SetCredentials(http::AuthTarget::Server, http::kAuthSchemeBasic,
                                  codepage::TextToUtf8(options_.UserName),
                                  codepage::TextToUtf8(options_.Password))) {
        return false;
    }
    if (!options_.ProxyUserName.empty() && !options_.ProxyPassword.empty() &&
        !request_->SetCredentials(http::AuthTarget::Proxy, http::kAuthSchemeBasic,
                                  codepage::TextToUtf8(options_.ProxyUserName),
                                  codepage::TextToUtf8(options_.ProxyPassword))) {
        return false;
    }
    return true;
}

// The layer keeps its own cookie handling only when the caller sends cookies.
bool RequestCall::SetCookieOption() {
    if (options_.SendCookies.empty()) {
        return request_->SetOption(http::kOptionDisableFeature, http::kDisableCookies);
    }
    return request_->SetOption(http::kOptionEnableFeature, http::kEnableSslRevocation);
}

std::string RequestCall::BuildHeaderBlock() const {
    return web::BuildHeaderBlock({.extraHeaders = options_.ExtraHeaders,
                                  .sendCookies = options_.SendCookies,
                                  .isPost = options_.Method == 1,
                                  .addDefaultHeaders = options_.AddDefaultHeaders,
                                  .normalizeHeaders = options_.NormalizeHeaders});
}

std::string_view RequestCall::RequestBody() const {
    return options_.BodyBytes.empty() ? std::string_view(options_.BodyText)
                                      : std::string_view(options_.BodyBytes);
}

// Chunks as large as the layer reports them; a failed read keeps what came before it.
void RequestCall::ReadBody() {
    std::size_t available = 0;
    while (request_->QueryDataAvailable(available) && available >= 1) {
        std::size_t read = 0;
        if (!request_->ReadData(body_, available, read)) {
            outputs_.StatusText = web::MessageText(web::kMsgRead);
            return;
        }
    }
}

// The page text is the body up to its first zero byte; its start is searched for the declared
// charset. The whole body, not the page text, goes through the decoder; a name it does not know
// leaves the page text as it is. Without decoding the body itself becomes the page text.
void RequestCall::DecodeByDeclaredCharset() {
    platform::com::Scope com;
    std::optional<std::string> charset = web::DeclaredCharset(matcher_, UpToFirstZero(body_));
    std::optional<std::string> decoded;
    if (charset && web::NeedsDecoding(*charset)) {
        decoded = codepage::DecodeCharset(body_, *charset);
    }
    pageText_ = CutAtFirstZero(decoded ? std::move(*decoded) : std::move(body_));
    if (charset) {
        ProcessEvents();
    }
}

}  // namespace

std::string WebRequest(std::string_view Url, const WebRequestOptions& options, WebRequestOutputs* outputs,
                       const ProcessPendingEvents& processEvents) {
    RegexMatcher matcher;
    RequestCall call(Url, options, outputs, processEvents, matcher);
    if (call.Run() == Ending::ThroughEnd && processEvents) {
        processEvents();
    }
    call.Close();
    return call.TakePageText();
}
