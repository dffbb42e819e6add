#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/AircraftIdentity.hpp"
#include "common/FixedCode.hpp"

namespace corv::realtraffic {

// One traffic datagram after the checks: where one aircraft is to be 30 s from now.
struct TrafficReport {
    common::AircraftIdentity identity;
    common::FixedCode<3> origin;  // empty when absent
    common::FixedCode<3> destination;
    std::string callsign;
    std::string scheduleCallsign;        // filled by the live traffic
    std::string scheduleSecondCallsign;  // filled by the live traffic
    std::string registration;            // at most 12 characters
    double latitude = 0.0;               // degrees
    double longitude = 0.0;              // degrees
    double altitude = 0.0;               // feet, corrected; 0 on the ground
    double groundSpeed = 0.0;            // knots
    double track = 0.0;                  // degrees
    double verticalSpeed = 0.0;          // as received
    double trueAirspeed = 0.0;           // knots
    std::int32_t dueTick = 0;            // live tick at which the aircraft is to be here
    bool airborne = false;
    bool stationary = false;  // set by the live traffic
    bool headingKnown = false;
    std::optional<double> bank;         // radians
    std::optional<double> trueHeading;  // radians
    double timestamp = 0.0;
    std::uint32_t hexid = 0;
};

}  // namespace corv::realtraffic
