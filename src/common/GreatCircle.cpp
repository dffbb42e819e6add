#include "common/GreatCircle.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corv::common {

namespace {
constexpr double degToRad = std::numbers::pi / 180.0;
constexpr double radToDeg = 180.0 / std::numbers::pi;
constexpr double twoPi = 2.0 * std::numbers::pi;

double sinSquaredHalf(double angle) {
    const double s = std::sin(angle / 2.0);
    return s * s;
}
}  // namespace

double distanceNm(const GeoPoint& from, const GeoPoint& to) {
    const double lat1 = from.latitude * degToRad;
    const double lat2 = to.latitude * degToRad;
    const double h = sinSquaredHalf(lat2 - lat1) +
                     std::cos(lat1) * std::cos(lat2) *
                         sinSquaredHalf((to.longitude - from.longitude) * degToRad);
    return 2.0 * earthRadiusNm * std::atan2(std::sqrt(h), std::sqrt(1.0 - h));
}

double initialBearing(const GeoPoint& from, const GeoPoint& to) {
    const double lat1 = from.latitude * degToRad;
    const double lat2 = to.latitude * degToRad;
    const double dLon = (to.longitude - from.longitude) * degToRad;
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    double bearing = std::fmod(std::atan2(y, x) + twoPi, twoPi);
    // fmod of a value just below 2 pi can round up to exactly 2 pi.
    if (bearing >= twoPi) bearing = 0.0;
    return bearing;
}

GeoPoint destinationPoint(const GeoPoint& from, double bearing, double distance) {
    const double angular = distance / earthRadiusNm;
    const double lat1 = from.latitude * degToRad;
    const double lon1 = from.longitude * degToRad;
    const double sinLat2 =
        std::sin(lat1) * std::cos(angular) + std::cos(lat1) * std::sin(angular) * std::cos(bearing);
    const double lat2 = std::asin(std::clamp(sinLat2, -1.0, 1.0));
    const double lon2 = lon1 + std::atan2(std::sin(bearing) * std::sin(angular) * std::cos(lat1),
                                          std::cos(angular) - std::sin(lat1) * std::sin(lat2));
    // Normalise the longitude to [-180, 180).
    double longitude = std::fmod(lon2 * radToDeg + 540.0, 360.0) - 180.0;
    return {lat2 * radToDeg, longitude};
}

}  // namespace corv::common
