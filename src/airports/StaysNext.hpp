#pragma once

#include "airports/Stand.hpp"
#include "airports/TimeKey.hpp"

namespace corv::airports {

// Whether the aircraft of an entry with a second callsign still stands there in the next half
// hour, so it shows the callsign it leaves with; past midnight that is the same aircraft's
// entry of the next day starting at 00:00. Entries with one callsign always stay.
bool staysNext(const OccupancyEntry& entry, const Stand& stand, TimeKey key);

}  // namespace corv::airports
