#pragma once

#include <string_view>

namespace corv::common {

inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The text without white space (blanks, tabs, line ends) at either end.
inline std::string_view trimSpace(std::string_view text) {
    constexpr std::string_view space = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

}  // namespace corv::common
