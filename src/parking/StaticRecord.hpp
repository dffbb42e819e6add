#pragma once

#include <cstdint>
#include <string>

#include "airports/TimeKey.hpp"
#include "common/AircraftIdentity.hpp"
#include "sim/SimNotice.hpp"
#include "sim/SimOperations.hpp"

namespace corv::parking {

enum class StaticState {
    Queued,    // its creation request waits in the static creation queue
    Creating,  // handed to the simulator client, no object yet
    Active,
    Removing,
};

// One static aircraft of the park airport.
struct StaticRecord {
    std::string name;  // what it shows, ending in "*"
    std::string callsign;
    std::string callsign2;
    std::string registration;
    common::AircraftIdentity identity;
    double latitude = 0.0;  // degrees: its stand
    double longitude = 0.0;
    double headingDegrees = 0.0;
    std::int32_t stand = 0;
    airports::TimeKey placedFor;  // the half hour of the entry it shows
    sim::AircraftKey key = 0;
    sim::ObjectId objectId = 0;
    StaticState state = StaticState::Queued;
    bool removeWhenCreated = false;
};

}  // namespace corv::parking
