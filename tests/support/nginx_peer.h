// A real nginx from the system's packages on 127.0.0.1 for tests that want a real server's answer.
// It runs in the foreground in a temporary prefix folder of its own (configuration, pid file,
// logs, temporary files and served files all inside it) and is stopped and removed with its owner.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/peer_process.h"

namespace testsupport {

class NginxPeer {
public:
    struct Setup {
        // The directives inside the server block, after "listen". "@PREFIX@" stands for the prefix
        // folder, so locations can name files the test wrote there.
        std::string serverDirectives;
        // Files written into the prefix folder before the start: relative name and content.
        std::vector<std::pair<std::string, std::string>> files;
    };

    // A running peer, or nullptr with the reason in `whyNot` (nginx is not installed or does not
    // start).
    static std::unique_ptr<NginxPeer> Start(const Setup& setup, std::string& whyNot);

    int Port() const { return port_; }
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    const TempFolder& Prefix() const { return prefix_; }

    // The access log's lines ("METHOD URI STATUS"), waiting until it has at least `atLeast` of them
    // (as a guard, a few seconds at most: nginx writes a line once the answer is out).
    std::vector<std::string> AccessLog(std::size_t atLeast = 0) const;

private:
    NginxPeer() : prefix_("nginx-peer") {}
    TempFolder prefix_;
    PeerProcess process_;
    int port_ = 0;
};

}  // namespace testsupport
