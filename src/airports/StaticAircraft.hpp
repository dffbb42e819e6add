#pragma once

#include <cstdint>
#include <string>

#include "common/AircraftIdentity.hpp"

namespace corv::airports {

// A static aircraft to place: which entry of which stand it comes from.
struct StaticAircraft {
    std::int32_t stand = 0;  // the stand's number
    std::int32_t fit = 0;    // half hours before now that the entry was at the stand
    common::AircraftIdentity identity;
    std::string callsign;
    std::string callsign2;
    std::string registration;
    bool staysNext = false;  // still there next half hour: it shows its arrival callsign
};

// A static aircraft placed earlier, as a new search must respect it.
struct PlacedStatic {
    std::string name;  // what it shows: a callsign followed by "*"
    std::string callsign;
    std::string registration;
    common::AircraftIdentity identity;
    std::int32_t stand = 0;
    double latitude = 0.0;  // degrees: where its stand is
    double longitude = 0.0;
    bool active = false;  // exists in the simulator
};

}  // namespace corv::airports
