// A real forward proxy (tinyproxy from the system's packages) on 127.0.0.1, optionally asking for
// basic proxy credentials. It runs in the foreground with its configuration and log in a temporary
// folder and is stopped and removed with its owner.
#pragma once

#include <memory>
#include <string>

#include "tests/support/peer_process.h"

namespace testsupport {

class ProxyPeer {
public:
    struct Credentials {
        std::string userName;
        std::string password;
    };

    // A running proxy, or nullptr with the reason in `whyNot`. Empty credentials: no
    // authentication asked.
    static std::unique_ptr<ProxyPeer> Start(const Credentials& credentials, std::string& whyNot);

    int Port() const { return port_; }
    // "127.0.0.1:PORT", the form a caller gives as its proxy.
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    ProxyPeer() : folder_("proxy-peer") {}
    TempFolder folder_;
    PeerProcess process_;
    int port_ = 0;
};

}  // namespace testsupport
