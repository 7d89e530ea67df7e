// Starting tinyproxy in the foreground with a configuration of our own: loopback only, clients from
// loopback only, log and pid file in its folder.
#include "tests/support/proxy_peer.h"

namespace testsupport {

namespace {

constexpr int kPortAttempts = 3;
constexpr int kStartSeconds = 10;

std::string Configuration(const std::string& folder, int port, const ProxyPeer::Credentials& credentials) {
    std::string text = "Port " + std::to_string(port) +
                       "\n"
                       "Listen 127.0.0.1\n"
                       "Timeout 10\n"
                       "MaxClients 20\n"
                       "Allow 127.0.0.1\n"
                       "LogLevel Info\n"
                       "LogFile \"" +
                       folder + "/tinyproxy.log\"\nPidFile \"" + folder + "/tinyproxy.pid\"\n";
    if (!credentials.userName.empty()) {
        text += "BasicAuth " + credentials.userName + " " + credentials.password + "\n";
    }
    return text;
}

}  // namespace

std::unique_ptr<ProxyPeer> ProxyPeer::Start(const Credentials& credentials, std::string& whyNot) {
    std::optional<std::string> program = FindProgram("tinyproxy");
    if (!program) {
        whyNot = "tinyproxy is not installed (scripts/install-deps installs it)";
        return nullptr;
    }
    std::unique_ptr<ProxyPeer> peer(new ProxyPeer());
    const std::string folder = peer->folder_.Path().string();
    if (folder.empty()) {
        whyNot = "no temporary folder for tinyproxy";
        return nullptr;
    }
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        peer->port_ = FreeLoopbackPort();
        peer->folder_.Write("tinyproxy.conf", Configuration(folder, peer->port_, credentials));
        bool started = peer->process_.Start({*program, "-d", "-c", folder + "/tinyproxy.conf"},
                                            peer->folder_.Path() / "output.log");
        if (started && peer->process_.WaitUntilListening(peer->port_, kStartSeconds)) {
            return peer;
        }
        peer->process_.Stop();
    }
    whyNot =
        "tinyproxy did not start: " + peer->folder_.Read("output.log") + peer->folder_.Read("tinyproxy.log");
    return nullptr;
}

}  // namespace testsupport
