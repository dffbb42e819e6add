#pragma once

namespace corv::liveries {

// The aircraft category of a type decides gear, flaps, parking times and livery fallbacks.
inline constexpr int categoryLight = 0;
inline constexpr int categoryBusinessJet = 1;
inline constexpr int categoryLarge = 2;
inline constexpr int categoryHeavy = 3;
inline constexpr int categoryHighPerformance = 4;
inline constexpr int categoryRotorcraft = 5;
inline constexpr int categoryCount = 6;

}  // namespace corv::liveries
