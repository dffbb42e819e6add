#pragma once

#include <string_view>

#include "scan/ScannedAirport.hpp"
#include "scan/StandId.hpp"

namespace corv::scan {

// The prefix of a stand id for the 6-bit parking name code of the scenery.
std::string_view standNamePrefix(unsigned nameCode) noexcept;

// The candidate id, or the first of candidate + "a" … "j" not given yet at this airport; the id
// is then taken. An empty id, with a report line, when all eleven are given.
// The part of uniqueStandId for a candidate that was given before.
StandId suffixedStandId(ScannedAirport& airport, const StandId& candidate, ScanMessages& messages);

// Inline: most candidates are new, and every parking spot asks.
inline StandId uniqueStandId(ScannedAirport& airport, const StandId& candidate,
                             ScanMessages& messages) {
    if (airport.usedIds.insert(candidate)) return candidate;
    return suffixedStandId(airport, candidate, messages);
}

}  // namespace corv::scan
