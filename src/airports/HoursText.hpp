#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "airports/HalfHourSet.hpp"

namespace corv::airports {

// The "hh" text of the airport files: a range "10:20" or a list "3,5,9" of half-hour indexes.
// Invalid hours are logged; a range with any fault gives the empty set, a list keeps its valid
// hours.
HalfHourSet gf_hours2bitset(std::string_view text);

// "3,5,9"; nothing for the empty set.
std::optional<std::string> hoursAsList(HalfHourSet set);

// "7" for one half hour, "3:5" for one contiguous run; nothing otherwise.
std::optional<std::string> hoursAsRange(HalfHourSet set);

}  // namespace corv::airports
