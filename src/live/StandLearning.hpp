#pragma once

#include <string>

#include "airports/Stand.hpp"
#include "airports/TimeKey.hpp"
#include "common/AircraftIdentity.hpp"

namespace corv::live {

// How a live aircraft was seen at a stand.
enum class StandUse {
    Arrived = 0,
    Created = 1,
    Left = 2,
    Disappeared = 3,
};

// One observed stay of a live aircraft at a stand.
struct ObservedStay {
    std::string registration;  // without a trailing "_"
    std::string callsign;      // without a trailing "_"
    common::AircraftIdentity identity;
    int aircraftClass = 0;
    StandUse use = StandUse::Arrived;
};

// Records the stay at the key's half hour in the stand's learned entries: a stay that goes on
// extends its entry, a new one adds an entry. The number of entries added or changed.
int recordStay(airports::Stand& stand, const ObservedStay& stay, airports::TimeKey now);

}  // namespace corv::live
