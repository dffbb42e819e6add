#pragma once

#include <chrono>
#include <ctime>
#include <numbers>

#include "sim/SimOperations.hpp"

// Small things every part of the stand-in simulator shares.
namespace corv::sim::standin::detail {

inline constexpr Status ok = 0;
inline constexpr Status fail = static_cast<Status>(0x80004005);  // E_FAIL, as the real one answers

inline double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// The calendar fields of a UTC instant.
inline std::tm utcParts(std::chrono::system_clock::time_point utc) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(utc);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    return parts;
}

}  // namespace corv::sim::standin::detail
