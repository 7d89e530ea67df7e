// Starting nginx in its own prefix folder: a configuration around the test's server directives, a
// free port (another one when the first was taken in the meantime), and a wait until it listens.
#include "tests/support/nginx_peer.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace testsupport {

namespace {

constexpr int kPortAttempts = 3;
constexpr int kStartSeconds = 10;

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t pos = text.find(what); pos != std::string::npos;
         pos = text.find(what, pos + with.size())) {
        text.replace(pos, what.size(), with);
    }
    return text;
}

// One process in the foreground (no master, no workers to outlive it), every path in the prefix.
std::string Configuration(const std::string& prefix, int port, const std::string& serverDirectives) {
    std::string text = R"(daemon off;
master_process off;
pid @PREFIX@/nginx.pid;
error_log @PREFIX@/error.log;
events { worker_connections 64; }
http {
    log_format peer '$request_method $request_uri $status';
    access_log @PREFIX@/access.log peer;
    client_body_temp_path @PREFIX@/temp/body;
    proxy_temp_path @PREFIX@/temp/proxy;
    fastcgi_temp_path @PREFIX@/temp/fastcgi;
    uwsgi_temp_path @PREFIX@/temp/uwsgi;
    scgi_temp_path @PREFIX@/temp/scgi;
    default_type text/plain;
    server {
        listen 127.0.0.1:@PORT@;
)" + serverDirectives + R"(
    }
}
)";
    return ReplaceAll(ReplaceAll(text, "@PORT@", std::to_string(port)), "@PREFIX@", prefix);
}

std::string LastLines(const std::string& text) {
    constexpr std::size_t kShown = 600;
    return text.size() > kShown ? text.substr(text.size() - kShown) : text;
}

}  // namespace

std::unique_ptr<NginxPeer> NginxPeer::Start(const Setup& setup, std::string& whyNot) {
    std::optional<std::string> program = FindProgram("nginx");
    if (!program) {
        whyNot = "nginx is not installed (scripts/install-deps installs it)";
        return nullptr;
    }
    std::unique_ptr<NginxPeer> peer(new NginxPeer());
    const std::string prefix = peer->prefix_.Path().string();
    if (prefix.empty()) {
        whyNot = "no temporary folder for nginx";
        return nullptr;
    }
    std::filesystem::create_directories(peer->prefix_.Path() / "temp");
    for (const auto& [name, content] : setup.files) {
        std::filesystem::create_directories((peer->prefix_.Path() / name).parent_path());
        peer->prefix_.Write(name, content);
    }
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        peer->port_ = FreeLoopbackPort();
        peer->prefix_.Write("nginx.conf", Configuration(prefix, peer->port_, setup.serverDirectives));
        bool started = peer->process_.Start(
            {*program, "-p", prefix + "/", "-c", prefix + "/nginx.conf", "-e", prefix + "/error.log"},
            peer->prefix_.Path() / "output.log");
        if (started && peer->process_.WaitUntilListening(peer->port_, kStartSeconds)) {
            return peer;
        }
        peer->process_.Stop();
    }
    whyNot = "nginx did not start: " +
             LastLines(peer->prefix_.Read("output.log") + peer->prefix_.Read("error.log"));
    return nullptr;
}

std::vector<std::string> NginxPeer::AccessLog(std::size_t atLeast) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        std::vector<std::string> lines;
        std::istringstream log(prefix_.Read("access.log"));
        for (std::string line; std::getline(log, line);) {
            lines.push_back(line);
        }
        if (lines.size() >= atLeast || std::chrono::steady_clock::now() > deadline) {
            return lines;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace testsupport
