#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "airports/HalfHourSet.hpp"
#include "common/AircraftIdentity.hpp"

namespace corv::airports {

// The two flags say where an identity came from; who the aircraft is rests on the indexes.
constexpr bool sameAircraft(const common::AircraftIdentity& a, const common::AircraftIdentity& b) {
    return a.airline == b.airline && a.operatorIndex == b.operatorIndex && a.model == b.model;
}

inline constexpr std::int32_t fromAirportFile = 1;
inline constexpr std::int32_t learned = 0;

// One stay of an aircraft at a stand on one weekday.
struct OccupancyEntry {
    common::AircraftIdentity identity;
    std::string registration;
    std::string callsign;
    std::string callsign2;
    HalfHourSet hours;
    std::int32_t index = 0;  // 1-based within the stand; 0: disabled
    std::int32_t day = 0;    // 1 Monday ... 7 Sunday
    std::int32_t origin = fromAirportFile;
    bool real = true;  // observed; false: derived ("soft")
    bool cpl = false;
};

// One parking position of the loaded airport.
struct Stand {
    std::vector<OccupancyEntry> entries;
    std::string id;
    std::vector<std::int32_t> neighbours;  // numbers of the stands that overlap this one
    double latitude = 0.0;
    double longitude = 0.0;
    double heading = 0.0;     // radians
    double radius = 0.0;      // nautical miles
    std::int32_t number = 0;  // 1-based position in the stand list
    std::int16_t type = 0;    // parking type code of the scenery format; 0: not given
    bool manual = false;
    bool radiusChanged = false;
    bool cargoChanged = false;
    bool taken = false;
    bool liveClaimed = false;
    bool reserved = false;
    bool blocked = false;
    bool cargo = false;
    bool ramp = false;
    bool heli = false;
};

inline constexpr std::int16_t fuelPositionType = 12;

constexpr bool isCargoType(int type) {
    return type == 5 || type == 6;
}
constexpr bool isRampType(int type) {
    return (type >= 1 && type <= 4) || type == 14;
}

}  // namespace corv::airports
