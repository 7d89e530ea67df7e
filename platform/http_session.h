// The first two handles of a request in the manner of the system's HTTP service: the session, which
// holds the proxy and the timeouts, and the connection, which names the host and port. Neither
// touches the network; the request object does.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform::http {

// True when the HTTP client library is usable (initialised, with http and https).
bool CheckPlatform();

// Milliseconds; 0 or less waits without limit.
struct Timeouts {
    int resolveMs = 0;
    int connectMs = 60000;
    int sendMs = 30000;
    int receiveMs = 30000;
};

class Session {
public:
    enum class Access { NoProxy, NamedProxy };

    // `proxyName` in the service's form: "host:port", or "scheme=host:port" entries separated by ";"
    // or blanks. nullptr when a named proxy's list names no server.
    static std::unique_ptr<Session> Open(Access access, std::string_view proxyName);

    // False for a value below -1; the session keeps its timeouts then.
    bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);

    const Timeouts& GetTimeouts() const { return timeouts_; }
    // The proxy for a request of this scheme in libcurl's form ("http://host:port"); empty: none.
    std::string ProxyFor(bool secure) const;

private:
    Session() = default;
    std::string proxyName_;
    Timeouts timeouts_;
};

class Connection {
public:
    // nullptr for an empty host or a port outside 0 to 65535; port 0 takes the scheme's default.
    static std::unique_ptr<Connection> Open(const Session& session, std::string_view host, int port);

    const Session& GetSession() const { return session_; }
    const std::string& Host() const { return host_; }
    int Port() const { return port_; }

private:
    Connection(const Session& session, std::string host, int port)
        : session_(session), host_(std::move(host)), port_(port) {}
    const Session& session_;
    std::string host_;
    int port_;
};

}  // namespace platform::http
