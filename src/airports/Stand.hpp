#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "airports/HalfHourSet.hpp"
#include "common/AircraftIdentity.hpp"

namespace corv::airports {

// Two identities are the same aircraft when airline, operator and model agree; the cargo and
// from-registration flags are not compared.
inline bool sameAircraft(const common::AircraftIdentity& a, const common::AircraftIdentity& b) {
    return a.airline == b.airline && a.operatorIndex == b.operatorIndex && a.model == b.model;
}

// One stay of an aircraft at a stand: which weekday, which half hours.
struct OccupancyEntry {
    common::AircraftIdentity identity;
    std::string registration;
    std::string callsign;
    std::string callsign2;  // the text after the first ":" of the file's "cs"
    HalfHourSet hours;
    std::int32_t index = 0;   // 1-based within its stand; 0 disables the entry
    std::int32_t day = 0;     // 1 Monday ... 7 Sunday
    std::int32_t origin = 1;  // 1 read from the airport file, 0 learned
    bool real = true;         // observed, not derived ("soft")
    bool cpl = false;
};

// Stand type codes of the scenery format with a meaning here.
inline bool isRampType(int type) {
    return (type >= 1 && type <= 4) || type == 14;
}
inline bool isCargoRampType(int type) {
    return type == 5 || type == 6;
}
inline constexpr int fuelPositionType = 12;

// One parking position of the loaded airport.
struct Stand {
    std::vector<OccupancyEntry> entries;
    std::string id;
    std::vector<std::int32_t> neighbours;  // numbers of the stands overlapping this one
    double latitude = 0.0;
    double longitude = 0.0;
    double heading = 0.0;     // radians
    double radius = 0.0;      // nautical miles
    std::int32_t number = 0;  // 1-based position in the list, assigned after loading
    std::int16_t type = 0;
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

}  // namespace corv::airports
