#pragma once

#include <cstdint>
#include <string>

#include "common/FixedCode.hpp"
#include "common/GreatCircle.hpp"

namespace corv::airports {

using AirportCode = common::FixedCode<4>;
using IataCode = common::FixedCode<3>;

// One airport for which RealTraffic delivers traffic.
struct CatalogueAirport {
    AirportCode code;
    IataCode iata;  // "XXX" when the airport has none
    double latitude = 0.0;
    double longitude = 0.0;
    float altitude = 0.0F;  // feet
    // 0: no stock stand file; 1 or more: one exists, and the value picks the default parking
    // percentage.
    std::int32_t standClass = 0;

    common::GeoPoint position() const { return {latitude, longitude}; }
};

// "EHAM (AMS)", or the code alone when the IATA code is "XXX"; "?" for a missing code.
std::string airportLabel(const CatalogueAirport& airport);
std::string airportLabel(const CatalogueAirport* airport);

}  // namespace corv::airports
