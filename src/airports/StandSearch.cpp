#include "airports/StandSearch.hpp"

#include <initializer_list>

namespace corv::airports {

namespace {

constexpr double radiusToleranceNm = 0.0009719222462203025;  // 1.8 m
constexpr double forcedWithinNm = 0.010799136069114472;      // 20 m
constexpr double learnedWithinNm = 0.0458963282937365;       // 85 m
constexpr int rotorcraft = 5;

bool classIn(int aircraftClass, std::initializer_list<int> classes) {
    for (const int each : classes) {
        if (each == aircraftClass) return true;
    }
    return false;
}

bool seenThere(const Stand& stand, const StandSeeker& seeker) {
    if (seeker.callsign.empty()) return false;
    for (const OccupancyEntry& entry : stand.entries) {
        if (entry.index <= 0 || !entry.real) continue;
        if (entry.callsign == seeker.callsign || entry.callsign2 == seeker.callsign ||
            sameAircraft(entry.identity, seeker.identity)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool fitsStand(const Stand& stand, int aircraftClass, double radiusNm) {
    switch (stand.type) {
        case 0:
            return radiusNm - stand.radius <= radiusToleranceNm;
        case 1:
        case 2:
            return aircraftClass == 0;
        case 3:
            return classIn(aircraftClass, {0, 1, 4});
        case 4:
        case 8:
            return classIn(aircraftClass, {1, 2});
        case 5:
        case 6:
        case 15:
            return classIn(aircraftClass, {2, 3});
        case 7:
            return aircraftClass == 4;
        case 9:
            return aircraftClass == 2;
        case 10:
            return aircraftClass == 3;
        case 11:
            return classIn(aircraftClass, {0, 5});
        case 12:
            return true;
        case 14:
            return classIn(aircraftClass, {0, 4});
        default:
            return false;
    }
}

std::optional<FoundStand> findStandFor(const std::vector<Stand>& stands,
                                       const common::GeoPoint& position, double searchNm,
                                       bool learned, const StandSeeker& seeker) {
    std::optional<FoundStand> best;
    double bestDistance = 900.0;
    std::optional<FoundStand> learnedStand;
    double learnedDistance = 900.0;
    for (const Stand& stand : stands) {
        const double distance = common::distanceNm(position, {stand.latitude, stand.longitude});
        const bool fits = fitsStand(stand, seeker.aircraftClass, seeker.radiusNm);
        if (distance <= searchNm) {
            if (distance >= bestDistance) continue;
            if (fits) {
                best = FoundStand{stand.number, false};
                bestDistance = distance;
            } else if (distance <= forcedWithinNm) {
                best = FoundStand{stand.number, true};
                bestDistance = distance;
            }
        } else if (learned && distance <= learnedWithinNm && distance < learnedDistance && fits &&
                   seenThere(stand, seeker)) {
            learnedStand = FoundStand{stand.number, false};
            learnedDistance = distance;
        }
    }
    if (!best) best = learnedStand;
    if (!best) return std::nullopt;
    const bool heliStand = stands[static_cast<std::size_t>(best->number - 1)].heli;
    if (heliStand != (seeker.aircraftClass == rotorcraft)) return std::nullopt;
    return best;
}

std::string standNear(const std::vector<Stand>& stands, const common::GeoPoint& position,
                      double radiusNm) {
    std::string nearestId;
    double nearest = radiusNm;
    for (const Stand& stand : stands) {
        const double distance = common::distanceNm(position, {stand.latitude, stand.longitude});
        if (distance <= nearest) {
            nearest = distance;
            nearestId = stand.id;
        }
    }
    return nearestId;
}

}  // namespace corv::airports
