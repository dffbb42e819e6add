#pragma once

namespace corv::common {

// Positions in degrees, bearings in radians, distances in nautical miles on a sphere of radius
// 10800/pi nm (one nautical mile per minute of arc).
struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

inline constexpr double earthRadiusNm = 3437.7467707849396;  // 10800 / pi
inline constexpr double metresPerNm = 1852.0;

double distanceNm(const GeoPoint& from, const GeoPoint& to);

// Initial bearing from one point towards another, in [0, 2 pi).
double initialBearing(const GeoPoint& from, const GeoPoint& to);

// The point reached from a start point along a great circle with the given initial bearing.
GeoPoint destinationPoint(const GeoPoint& from, double bearing, double distanceNm);

}  // namespace corv::common
