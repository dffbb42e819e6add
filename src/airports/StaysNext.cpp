#include "airports/StaysNext.hpp"

#include <algorithm>

namespace corv::airports {

bool staysNext(const OccupancyEntry& entry, const Stand& stand, TimeKey key) {
    if (entry.callsign2.empty()) return true;
    if (key.halfHour < halfHoursPerDay - 1) return entry.hours.contains(key.halfHour + 1);
    const int nextDay = key.weekday == 7 ? 1 : key.weekday + 1;
    return std::any_of(stand.entries.begin(), stand.entries.end(), [&](const OccupancyEntry& e) {
        return &e != &entry && e.index > 0 && e.day == nextDay &&
               sameAircraft(e.identity, entry.identity) && e.hours.contains(0);
    });
}

}  // namespace corv::airports
