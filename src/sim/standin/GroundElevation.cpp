#include "sim/standin/GroundElevation.hpp"

#include <cmath>
#include <limits>

namespace corv::sim::standin {

namespace {
constexpr double cellsPerDegree = 100.0;

std::int64_t cellKey(const common::GeoPoint& position) {
    const auto row = static_cast<std::int64_t>(std::floor(position.latitude * cellsPerDegree));
    const auto column = static_cast<std::int64_t>(std::floor(position.longitude * cellsPerDegree));
    return row * 100000 + column;
}
}  // namespace

double GroundElevation::feetAt(const common::GeoPoint& position) {
    if (fixedFeet_) return *fixedFeet_;
    const auto key = cellKey(position);
    if (const auto found = cells_.find(key); found != cells_.end()) return found->second;
    const double feet = nearestAirportFeet(position);
    cells_.emplace(key, feet);
    return feet;
}

double GroundElevation::nearestAirportFeet(const common::GeoPoint& position) const {
    double best = std::numeric_limits<double>::max();
    double feet = 0.0;  // sea level without any airport
    for (const auto& airport : catalogue_.airports()) {
        const double distance = common::distanceNm(position, airport.position());
        if (distance < best) {
            best = distance;
            feet = airport.altitude;
        }
    }
    return feet;
}

}  // namespace corv::sim::standin
