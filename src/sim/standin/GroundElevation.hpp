#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "airports/AirportCatalogue.hpp"
#include "common/GreatCircle.hpp"

namespace corv::sim::standin {

// The stand-in world's ground: flat at the elevation of the nearest catalogue airport, or at one
// fixed elevation when the scenario names it. Answers are kept per cell of about half a mile,
// since hundreds of objects ask many times a second.
class GroundElevation {
  public:
    GroundElevation(const airports::AirportCatalogue& catalogue, std::optional<double> fixedFeet)
        : catalogue_(catalogue), fixedFeet_(fixedFeet) {}

    double feetAt(const common::GeoPoint& position);

  private:
    double nearestAirportFeet(const common::GeoPoint& position) const;

    const airports::AirportCatalogue& catalogue_;
    std::optional<double> fixedFeet_;
    std::unordered_map<std::int64_t, double> cells_;
};

}  // namespace corv::sim::standin
