#pragma once

#include <string_view>

namespace corv {

inline constexpr std::string_view programName = "Corvane_P3D";
inline constexpr std::string_view simulatorFamily = "Prepar3D v5/v6";

// The built-in program version, "{}.{}.{}".
inline constexpr int programVersionMajor = 12;
inline constexpr int programVersionMinor = 6;
inline constexpr int programVersionPatch = 0;

}  // namespace corv
