#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace corv::common {

// ASCII upper case: callsigns, airport codes and the simulator's names are ASCII by definition.
inline std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace corv::common
