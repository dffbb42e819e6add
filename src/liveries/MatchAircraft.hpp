#pragma once

#include <string>
#include <string_view>

#include "common/AircraftIdentity.hpp"

namespace corv::liveries {

// What livery matching reads from and writes to an aircraft, live or parked.
struct MatchAircraft {
    common::AircraftIdentity key;
    int category = 0;
    std::string registration;
    bool preferCargo = false;  // the caller would rather have a cargo livery
    bool live = true;          // only live aircraft count in the step counters
    std::string callsign;
    std::string description;  // how the aircraft is named in log lines

    // The result: a title held by the matching indexes, kept when the aircraft already has one.
    std::string_view title;
    bool fsltl = false;  // the title is an FSLTL livery
};

}  // namespace corv::liveries
