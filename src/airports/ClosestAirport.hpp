#pragma once

#include <optional>
#include <utility>

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

// The closest airport as the user's position comes in every second. The search (which reads
// the stands of two airports where two are in sight) runs again only when the user has moved,
// and the choice between the two is logged only when the pair changes.
class ClosestAirportSearch {
  public:
    const CatalogueAirport* update(const AirportCatalogue& catalogue,
                                   const common::GeoPoint& position,
                                   const NearestStandLookup& nearestStand);
    // A new flight: the next position is searched whatever it is.
    void reset() { *this = ClosestAirportSearch{}; }

  private:
    std::optional<common::GeoPoint> searchedAt_;
    const CatalogueAirport* found_ = nullptr;
    std::pair<const CatalogueAirport*, const CatalogueAirport*> loggedPair_{nullptr, nullptr};
};

}  // namespace corv::airports
