#pragma once

#include <string>

namespace corv::services {

// "{code} {description}" for a socket error code, e.g. "10054 Connection reset by peer".
std::string socketErrorText(int code);

}  // namespace corv::services
