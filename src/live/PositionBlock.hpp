#pragma once

#include <cstdint>
#include <optional>

#include "realtraffic/TrafficReport.hpp"

namespace corv::live {

// Where a report put the aircraft: one entry of a live aircraft's position stream.
struct PositionBlock {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitude = 0.0;   // feet; 0 on the ground
    double groundSpeed = 0.0;
    double track = 0.0;  // degrees
    double verticalSpeed = 0.0;
    double trueAirspeed = 0.0;
    std::int32_t dueTick = 0;
    bool airborne = false;
    bool stationary = false;  // the same position as the point before it
    bool headingKnown = false;
    std::optional<double> bank;         // radians
    std::optional<double> trueHeading;  // radians
    double timestamp = 0.0;
    std::uint32_t hexid = 0;
};

PositionBlock positionBlockOf(const realtraffic::TrafficReport& report);

}  // namespace corv::live
