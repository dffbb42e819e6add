#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "airports/Stand.hpp"
#include "common/GreatCircle.hpp"

namespace corv::airports {

// Whether an aircraft of the class and half wingspan (nautical miles) may use the stand: by
// the stand's parking type, or, without one, by its radius.
bool fitsStand(const Stand& stand, int aircraftClass, double radiusNm);

// What a live aircraft looking for a stand is.
struct StandSeeker {
    int aircraftClass = 0;
    double radiusNm = 0.0;  // half its wingspan
    std::string callsign;
    common::AircraftIdentity identity;
};

struct FoundStand {
    std::int32_t number = 0;
    bool forced = false;  // too small, but the aircraft stands right on it
};

// The stand an aircraft at the position stands on or pulls into: the nearest fitting one within
// searchNm (a non-fitting one only within 20 m); with learned set, else the nearest within 85 m
// where the same flight or aircraft was seen before. Helicopter stands are for helicopters only.
std::optional<FoundStand> findStandFor(const std::vector<Stand>& stands,
                                       const common::GeoPoint& position, double searchNm,
                                       bool learned, const StandSeeker& seeker);

// The id of the stand nearest to the position within radiusNm; empty when none is.
std::string standNear(const std::vector<Stand>& stands, const common::GeoPoint& position,
                      double radiusNm);

}  // namespace corv::airports
