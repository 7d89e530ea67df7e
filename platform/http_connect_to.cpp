// The test-only routing rules, shared by every thread that makes requests.
#include "platform/http_connect_to.h"

#include <mutex>

#include "platform/http_connect_to_rules.h"

namespace platform::http {

namespace {

struct Rules {
    std::mutex mutex;
    std::vector<std::string> rules;
};

Rules& TheRules() {
    static Rules rules;
    return rules;
}

}  // namespace

std::vector<std::string> CurrentConnectToRules() {
    Rules& rules = TheRules();
    std::lock_guard lock(rules.mutex);
    return rules.rules;
}

namespace testing {

void SetConnectTo(std::vector<std::string> rules) {
    Rules& current = TheRules();
    std::lock_guard lock(current.mutex);
    current.rules = std::move(rules);
}

}  // namespace testing

}  // namespace platform::http
