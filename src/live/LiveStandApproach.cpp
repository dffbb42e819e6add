#include <cmath>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"

namespace corv::live {

using namespace motion;

namespace {
constexpr double metresPerDegree = 111132.95;
constexpr double alignedDegrees = 3.0;
constexpr double shortestDriveMetres = 3.0;
// Below this the two lines are too close to parallel to meet at a useful corner.
const double crossingSine = std::sin(10.0 * degrees);
}  // namespace

// The aircraft stops where it really parked, and the stand of the airport file lies some metres
// off: driven straight across with the nose turning to the stand's heading it would slide
// sideways. It drives a smooth path instead that leaves along its heading and arrives along the
// stand's: a cubic curve given as two halves, each a corner the ground curves round (the first
// handle, the middle of the handles, the second handle). Where the line ahead meets the stand's
// centre line before both, the path is the one curve round that meeting point.
std::vector<common::GeoPoint> LiveTraffic::standApproachPath(const LiveAircraft& aircraft) const {
    const double latitude = aircraft.sim.latitude;
    const double metresPerEast = metresPerDegree * std::cos(latitude * degrees);
    const double east = wrapPi((aircraft.standLongitude - aircraft.sim.longitude) * degrees) /
                        degrees * metresPerEast;
    const double north = (aircraft.standLatitude - latitude) * metresPerDegree;
    const double distance = std::hypot(east, north);
    if (distance < shortestDriveMetres) return {};
    const double heading = aircraft.sim.heading;
    const double standHeading = aircraft.standHeading;
    const double aligned = alignedDegrees * degrees;
    if (std::fabs(wrapPi(std::atan2(east, north) - standHeading)) <= aligned &&
        std::fabs(wrapPi(heading - standHeading)) <= aligned)
        return {};

    const double aheadEast = std::sin(heading);
    const double aheadNorth = std::cos(heading);
    const double lineEast = std::sin(standHeading);
    const double lineNorth = std::cos(standHeading);
    double leave = distance / 3.0;
    double arrive = distance / 3.0;
    // here + ahead · u = stand − line · w
    const double cross = aheadEast * lineNorth - aheadNorth * lineEast;
    if (std::fabs(cross) >= crossingSine) {
        const double u = (east * lineNorth - north * lineEast) / cross;
        const double w = (aheadEast * north - aheadNorth * east) / cross;
        if (u > 0.0 && w > 0.0 && u < 2.0 * distance && w < 2.0 * distance) {
            leave = 2.0 * u / 3.0;
            arrive = 2.0 * w / 3.0;
        }
    }
    const auto toGeo = [&](double e, double n) {
        return common::GeoPoint{latitude + n / metresPerDegree,
                                aircraft.sim.longitude + e / metresPerEast};
    };
    const double firstEast = aheadEast * leave;
    const double firstNorth = aheadNorth * leave;
    const double secondEast = east - lineEast * arrive;
    const double secondNorth = north - lineNorth * arrive;
    return {toGeo(firstEast, firstNorth),
            toGeo((firstEast + secondEast) / 2.0, (firstNorth + secondNorth) / 2.0),
            toGeo(secondEast, secondNorth)};
}

}  // namespace corv::live
