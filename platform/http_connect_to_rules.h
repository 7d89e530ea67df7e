// The connect-to rules in force, as every handle of the HTTP layer reads them when it starts a
// transfer. Set only through platform/http_connect_to.h.
#pragma once

#include <string>
#include <vector>

namespace platform::http {

std::vector<std::string> CurrentConnectToRules();

}  // namespace platform::http
