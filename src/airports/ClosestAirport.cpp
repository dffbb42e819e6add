#include "airports/ClosestAirport.hpp"

#include <string>

#include "common/GreatCircle.hpp"
#include "services/Log.hpp"

namespace corv::airports {

namespace {
constexpr double startDistanceNm = 100.0;
constexpr double inSightNm = 5.0;
}  // namespace

const CatalogueAirport* findClosestAirport(const AirportCatalogue& catalogue,
                                           const common::GeoPoint& position,
                                           const NearestStandLookup& nearestStand) {
    double bestDistance = startDistanceNm;
    const CatalogueAirport* best = nullptr;
    // The best that a closer airport displaced, not the second closest of all.
    const CatalogueAirport* neighbour = nullptr;
    for (const CatalogueAirport& airport : catalogue.airports()) {
        const double distance = common::distanceNm(position, airport.position());
        if (distance <= inSightNm && distance < bestDistance) {
            if (best != nullptr) neighbour = best;
            best = &airport;
            bestDistance = distance;
        }
    }
    if (best == nullptr || neighbour == nullptr) return best;

    services::log("Airport {} is closest, neighbour is {}", best->code, neighbour->code);
    std::string bestStand;
    std::string neighbourStand;
    const double bestStandDistance = nearestStand(best->code, position, bestStand);
    const double neighbourStandDistance = nearestStand(neighbour->code, position, neighbourStand);
    if (bestStandDistance <= neighbourStandDistance) return best;
    services::log(
        "Airport {} is closest, but stand {} at neighbouring airport {} is closer at {:.0F} "
        "meters ...",
        best->code, neighbourStand, neighbour->code, neighbourStandDistance * common::metresPerNm);
    return neighbour;
}

}  // namespace corv::airports
