#pragma once

#include "airports/Stand.hpp"
#include "airports/TimeKey.hpp"

namespace corv::airports {

// Whether the aircraft of an entry still stands there in the next half hour: what decides
// whether a static aircraft shows its second callsign. At the last half hour of a day the
// next day's first half hour of the same aircraft at the same stand counts.
bool staysNext(const OccupancyEntry& entry, const Stand& stand, TimeKey key);

}  // namespace corv::airports
