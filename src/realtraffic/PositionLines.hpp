#pragma once

#include <cstdint>
#include <string>

namespace corv::realtraffic {

// The user aircraft as RealTraffic is told it.
struct PositionSample {
    double pitch = 0.0;              // radians, negative is nose up
    double bank = 0.0;               // radians
    double heading = 0.0;            // radians, true
    double indicatedAltitude = 0.0;  // feet
    double groundSpeed = 0.0;        // knots
    double latitude = 0.0;           // degrees
    double longitude = 0.0;          // degrees
};

// Whether the simulator has reported a position yet: (0, 0) within 0.0001 degree is none.
bool hasPosition(double latitude, double longitude);

// "Qs121=pitch;bank;heading;altitude;speed;lat;lon\r\n" in the scaling RealTraffic expects.
std::string qs121Line(const PositionSample& sample);

// "Qs123={milliseconds}\r\n": the simulator's UTC instant.
std::string qs123Line(std::int64_t unixSeconds);

}  // namespace corv::realtraffic
