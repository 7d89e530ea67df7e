// The scriptable request object over the layer's session, connection and request handles. Options
// and timeouts may come before Open, as the automation object allows, so they are kept and applied
// when the handles are made.
#include "platform/http_request_object.h"

#include <vector>

#include "platform/codepage.h"
#include "platform/http_request.h"
#include "platform/http_url.h"

namespace platform::http {

struct RequestObject::State {
    bool followRedirects = true;
    std::uint32_t securityFlags = 0;
    int timeoutsMs[4] = {0, 60000, 30000, 30000};
    std::vector<std::string> headerLines;
    std::unique_ptr<Session> session;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<Request> request;
    bool sent = false;
    std::string responseBody;
};

RequestObject::RequestObject() : state_(std::make_unique<State>()) {}

// The handles go in the order request, connection, session.
RequestObject::~RequestObject() {
    state_->request.reset();
    state_->connection.reset();
    state_->session.reset();
}

bool RequestObject::SetOption(int option, int value) {
    switch (option) {
        case kOptionSslErrorIgnoreFlags:
            state_->securityFlags = static_cast<std::uint32_t>(value);
            return true;
        case kOptionEnableRedirects:
            state_->followRedirects = value != 0;
            return true;
        default:
            return false;
    }
}

void RequestObject::SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) {
    state_->timeoutsMs[0] = resolveMs;
    state_->timeoutsMs[1] = connectMs;
    state_->timeoutsMs[2] = sendMs;
    state_->timeoutsMs[3] = receiveMs;
}

bool RequestObject::Open(std::string_view method, std::string_view url) {
    State& state = *state_;
    state.request.reset();
    state.connection.reset();
    state.session.reset();
    state.headerLines.clear();
    state.sent = false;
    state.responseBody.clear();

    std::optional<UrlComponents> parts = CrackUrl(codepage::TextToUtf8(url));
    if (!parts || !CheckPlatform()) {
        return false;
    }
    state.session = Session::Open(Session::Access::NoProxy, {});
    if (!state.session || !state.session->SetTimeouts(state.timeoutsMs[0], state.timeoutsMs[1],
                                                      state.timeoutsMs[2], state.timeoutsMs[3])) {
        return false;
    }
    state.connection = Connection::Open(*state.session, parts->host, parts->port);
    if (!state.connection) {
        return false;
    }
    std::string objectName = parts->path.empty() ? "/" : parts->path + parts->extraInfo;
    state.request = Request::Open(*state.connection, method, objectName, parts->secure);
    return state.request != nullptr;
}

bool RequestObject::SetRequestHeader(std::string_view name, std::string_view value) {
    if (!state_->request || state_->sent || name.empty()) {
        return false;
    }
    state_->headerLines.push_back(std::string(name) + ": " + std::string(value));
    return true;
}

bool RequestObject::Send(std::string_view body) {
    State& state = *state_;
    if (!state.request) {
        return false;
    }
    Request& request = *state.request;
    std::string block;
    for (const std::string& line : state.headerLines) {
        block += line + "\r\n";
    }
    std::uint32_t disabled = kDisableCookies | (state.followRedirects ? 0 : kDisableRedirects);
    if (!request.SetOption(kOptionSecurityFlags, state.securityFlags) ||
        !request.SetOption(kOptionDisableFeature, disabled) || !request.AddHeaders(block) ||
        !request.Send(body) || !request.ReceiveResponse()) {
        return false;
    }
    std::size_t available = 0;
    while (request.QueryDataAvailable(available) && available > 0) {
        std::size_t read = 0;
        if (!request.ReadData(state.responseBody, available, read)) {
            return false;
        }
    }
    state.sent = true;
    return true;
}

int RequestObject::Status() const {
    return state_->sent ? state_->request->StatusCode() : 0;
}

std::string RequestObject::ResponseBody() const {
    return state_->responseBody;
}

std::optional<std::string> RequestObject::GetResponseHeader(std::string_view name) const {
    if (!state_->sent) {
        return std::nullopt;
    }
    return state_->request->ResponseHeader(name);
}

}  // namespace platform::http
