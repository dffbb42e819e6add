#pragma once

#include <algorithm>
#include <cctype>
#include <numbers>
#include <string>

#include "sim/SimOperations.hpp"

// Small things every part of the stand-in simulator shares.
namespace corv::sim::standin::detail {

inline constexpr Status ok = 0;
inline constexpr Status fail = static_cast<Status>(0x80004005);  // E_FAIL, as the real one answers

inline double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

inline std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace corv::sim::standin::detail
