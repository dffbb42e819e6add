#pragma once

#include <functional>
#include <string>

#include "airports/CatalogueAirport.hpp"
#include "common/GreatCircle.hpp"

namespace corv::airports {

// Distance in nm from a position to the nearest stand of an airport, that stand's id through
// the last argument; 100 when no stand can be found.
using NearestStandLookup =
    std::function<double(const AirportCode&, const common::GeoPoint&, std::string& standId)>;

inline constexpr double noStandDistanceNm = 100.0;

// Reads the airport's stand file (local, or fetched from the download site) for the nearest
// stand. Completed with the airport files, which it resolves and reads.
double gf_readDestApfForClosestStand(const AirportCode& code, const common::GeoPoint& position,
                                     std::string& standId);

}  // namespace corv::airports
