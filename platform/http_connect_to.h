// Test-only routing: connections meant for one host and port go to another address, while the URL,
// the Host header and everything the program builds stay as they are. Nothing a user can set
// reaches it; only test and benchmark code calls it.
#pragma once

#include <string>
#include <vector>

namespace platform::http::testing {

// Rules in libcurl's CONNECT_TO form "HOST:PORT:CONNECT-TO-HOST:CONNECT-TO-PORT", for example
// "www.baidu.com:80:127.0.0.1:40123". Replaces the rules in force; an empty list clears them.
void SetConnectTo(std::vector<std::string> rules);

// The rules for the lifetime of the scope.
class ScopedConnectTo {
public:
    explicit ScopedConnectTo(std::vector<std::string> rules) { SetConnectTo(std::move(rules)); }
    ~ScopedConnectTo() { SetConnectTo({}); }
    ScopedConnectTo(const ScopedConnectTo&) = delete;
    ScopedConnectTo& operator=(const ScopedConnectTo&) = delete;
};

}  // namespace platform::http::testing
