#pragma once

#include "airports/AirportCatalogue.hpp"
#include "airports/NearestStand.hpp"
#include "common/GreatCircle.hpp"

namespace corv::airports {

// The airport the user stands at: the closest within 5 nm. When a closer one displaced an
// earlier best during the scan, the one whose nearest stand is closer wins, since neighbouring
// airports can lie within a few miles of each other. nullptr when none is within 5 nm.
const CatalogueAirport* findClosestAirport(const AirportCatalogue& catalogue,
                                           const common::GeoPoint& position,
                                           const NearestStandLookup& nearestStand);

}  // namespace corv::airports
