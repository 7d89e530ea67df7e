// Session and connection handles: configuration only, checked as the system's service checks it.
#include "platform/http_session.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>

namespace platform::http {

namespace {

bool SupportsProtocol(const curl_version_info_data* info, const char* protocol) {
    for (const char* const* p = info->protocols; p != nullptr && *p != nullptr; ++p) {
        if (std::strcmp(*p, protocol) == 0) {
            return true;
        }
    }
    return false;
}

// The server of the first entry of the list that serves `scheme`: an entry "scheme=server" serves
// that scheme only, a bare "server" every scheme. Entries are separated by ";" or blanks. An empty
// scheme takes the first entry with any server.
std::optional<std::string_view> ServerFor(std::string_view list, std::string_view scheme) {
    while (!list.empty()) {
        std::size_t end = std::min(list.find_first_of("; "), list.size());
        std::string_view entry = list.substr(0, end);
        list.remove_prefix(std::min(end + 1, list.size()));
        std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos && !entry.empty()) {
            return entry;
        }
        bool schemeFits = scheme.empty() || entry.substr(0, equals) == scheme;
        if (equals != std::string_view::npos && schemeFits && equals + 1 < entry.size()) {
            return entry.substr(equals + 1);
        }
    }
    return std::nullopt;
}

bool NamesAServer(std::string_view list) {
    return ServerFor(list, {}).has_value();
}

std::string ProxyUrl(std::string_view server) {
    return server.find("://") == std::string_view::npos ? "http://" + std::string(server)
                                                        : std::string(server);
}

}  // namespace

bool CheckPlatform() {
    static std::once_flag once;
    static CURLcode initialised = CURLE_FAILED_INIT;
    std::call_once(once, [] { initialised = curl_global_init(CURL_GLOBAL_DEFAULT); });
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    return initialised == CURLE_OK && info != nullptr && SupportsProtocol(info, "http") &&
           SupportsProtocol(info, "https");
}

std::unique_ptr<Session> Session::Open(Access access, std::string_view proxyName) {
    // A named proxy that names no server would quietly send every request straight to the host.
    if (access == Access::NamedProxy && !NamesAServer(proxyName)) {
        return nullptr;
    }
    std::unique_ptr<Session> session(new Session());
    if (access == Access::NamedProxy) {
        session->proxyName_ = std::string(proxyName);
    }
    return session;
}

bool Session::SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) {
    if (resolveMs < -1 || connectMs < -1 || sendMs < -1 || receiveMs < -1) {
        return false;
    }
    timeouts_ = {resolveMs, connectMs, sendMs, receiveMs};
    return true;
}

std::string Session::ProxyFor(bool secure) const {
    std::optional<std::string_view> server = ServerFor(proxyName_, secure ? "https" : "http");
    return server ? ProxyUrl(*server) : std::string();
}

std::unique_ptr<Connection> Connection::Open(const Session& session, std::string_view host, int port) {
    if (host.empty() || port < 0 || port > 65535) {
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(session, std::string(host), port));
}

}  // namespace platform::http
