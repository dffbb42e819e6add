#include "airports/ClosestAirport.hpp"

#include <string>

#include "services/Log.hpp"

namespace corv::airports {

namespace {
constexpr double startDistanceNm = 100.0;
constexpr double inSightNm = 5.0;

// The closest airport in sight, and the best it displaced during the scan (not the second
// closest of all).
std::pair<const CatalogueAirport*, const CatalogueAirport*> closestPair(
    const AirportCatalogue& catalogue, const common::GeoPoint& position) {
    double bestDistance = startDistanceNm;
    const CatalogueAirport* best = nullptr;
    const CatalogueAirport* neighbour = nullptr;
    for (const CatalogueAirport& airport : catalogue.airports()) {
        const double distance = common::distanceNm(position, airport.position());
        if (distance <= inSightNm && distance < bestDistance) {
            if (best != nullptr) neighbour = best;
            best = &airport;
            bestDistance = distance;
        }
    }
    return {best, neighbour};
}

const CatalogueAirport* choose(const CatalogueAirport& best, const CatalogueAirport& neighbour,
                               const common::GeoPoint& position,
                               const NearestStandLookup& nearestStand, bool logChoice) {
    if (logChoice) {
        services::log("Airport {} is closest, neighbour is {}", best.code, neighbour.code);
    }
    std::string bestStand;
    std::string neighbourStand;
    const double bestStandDistance = nearestStand(best.code, position, bestStand);
    const double neighbourStandDistance = nearestStand(neighbour.code, position, neighbourStand);
    if (bestStandDistance <= neighbourStandDistance) return &best;
    if (logChoice) {
        services::log(
            "Airport {} is closest, but stand {} at neighbouring airport {} is closer at {:.0F} "
            "meters ...",
            best.code, neighbourStand, neighbour.code,
            neighbourStandDistance * common::metresPerNm);
    }
    return &neighbour;
}
}  // namespace

const CatalogueAirport* findClosestAirport(const AirportCatalogue& catalogue,
                                           const common::GeoPoint& position,
                                           const NearestStandLookup& nearestStand) {
    ClosestAirportSearch search;
    return search.update(catalogue, position, nearestStand);
}

const CatalogueAirport* ClosestAirportSearch::update(const AirportCatalogue& catalogue,
                                                     const common::GeoPoint& position,
                                                     const NearestStandLookup& nearestStand) {
    if (searchedAt_ && searchedAt_->latitude == position.latitude &&
        searchedAt_->longitude == position.longitude) {
        return found_;
    }
    searchedAt_ = position;
    const auto pair = closestPair(catalogue, position);
    const auto [best, neighbour] = pair;
    if (best == nullptr || neighbour == nullptr) {
        found_ = best;
    } else {
        found_ = choose(*best, *neighbour, position, nearestStand, pair != loggedPair_);
    }
    loggedPair_ = pair;
    return found_;
}

}  // namespace corv::airports
