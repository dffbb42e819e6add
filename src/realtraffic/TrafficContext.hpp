#pragma once

#include <cstdint>
#include <optional>

#include "common/GreatCircle.hpp"

namespace corv::realtraffic {

// The airport where static aircraft are parked; ground traffic only matters near it.
struct ParkAirport {
    common::GeoPoint position;
    double elevationFeet = 0.0;
};

// What the run tells the Traffic Reader, every 5 seconds and when the park airport changes.
struct TrafficInputs {
    common::GeoPoint reference;  // the user aircraft
    std::optional<ParkAirport> parkAirport;
    // The user aircraft's true altitude minus its indicated altitude: how far the pressure
    // altitudes of traffic high up are off from true altitudes.
    double altitudeOffsetFeet = 0.0;
};

// Everything one traffic datagram is judged by.
struct TrafficContext {
    TrafficInputs inputs;
    std::int32_t qnh = 1013;  // hectopascal
    double rangeNm = 40.0;
    bool airborneOnly = false;
};

}  // namespace corv::realtraffic
