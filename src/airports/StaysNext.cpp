#include "airports/StaysNext.hpp"

#include <algorithm>

namespace corv::airports {

bool staysNext(const OccupancyEntry& entry, const Stand& stand, TimeKey key) {
    if (entry.callsign2.empty()) return true;
    if (key.halfHour < halfHoursPerDay - 1) return entry.hours.contains(key.halfHour + 1);
    const int nextDay = key.weekday == 7 ? 1 : key.weekday + 1;
    return std::any_of(
        stand.entries.begin(), stand.entries.end(), [&](const OccupancyEntry& other) {
            return other.index > 0 && other.day == nextDay &&
                   sameAircraft(other.identity, entry.identity) && other.hours.contains(0);
        });
}

}  // namespace corv::airports
