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
constexpr double noseSwingPerSecond = 5.0 * degrees;  // on average: twice that at the tightest
// A curve that swings the nose round this far in all is a loop, not a way onto the stand.
constexpr double mostCurvedTurn = 150.0 * degrees;
constexpr double creepKnots = 2.0;  // below the pace at which sideways motion shows

struct WayMeasure {
    double distanceNm = 0.0;
    double turned = 0.0;  // radians the nose swings in all
    double crab = 0.0;    // radians the first stretch runs beside the nose
};

WayMeasure measureWay(common::GeoPoint from, double heading,
                      const std::vector<common::GeoPoint>& corners, common::GeoPoint stand,
                      double standHeading) {
    WayMeasure way;
    double bearing = heading;
    bool first = true;
    const auto through = [&](common::GeoPoint point) {
        const double leg = common::distanceNm(from, point);
        if (leg * 1852.0 >= 0.01) {
            const double next = common::initialBearing(from, point);
            if (first) way.crab = std::fabs(wrapPi(next - heading));
            first = false;
            way.turned += std::fabs(wrapPi(next - bearing));
            bearing = next;
        }
        way.distanceNm += leg;
        from = point;
    };
    for (const common::GeoPoint& corner : corners)
        through(corner);
    through(stand);
    way.turned += std::fabs(wrapPi(standHeading - bearing));
    return way;
}
}  // namespace

// The way's speed keeps the nose's swing to that of a taxiing aircraft. Where the stand lies
// so close beside the aircraft that a curve onto it would be a loop, it creeps across instead
// with the nose turning to the stand's heading: a correction of where the reports left it.
LiveTraffic::StandApproach LiveTraffic::standApproach(const LiveAircraft& aircraft,
                                                      common::GeoPoint from) const {
    const common::GeoPoint stand{aircraft.standLatitude, aircraft.standLongitude};
    StandApproach approach{standApproachPath(aircraft, from)};
    WayMeasure way =
        measureWay(from, aircraft.sim.heading, approach.corners, stand, aircraft.standHeading);
    if (way.turned > mostCurvedTurn) {
        approach.corners.clear();
        way = measureWay(from, aircraft.sim.heading, {}, stand, aircraft.standHeading);
    }
    const double ground = aircraft.handling.groundKnots;
    approach.distanceNm = way.distanceNm;
    if (approach.corners.empty() && way.crab > alignedDegrees * degrees) {
        approach.knots = std::min(creepKnots, ground);
    } else {
        approach.knots =
            std::clamp(way.distanceNm * 3600.0 * noseSwingPerSecond / std::max(way.turned, 1e-6),
                       std::min(creepKnots, ground), ground);
    }
    return approach;
}

// The aircraft stops where it really parked, and the stand of the airport file lies some metres
// off: driven straight across with the nose turning to the stand's heading it would slide
// sideways. It drives a smooth path instead that leaves along its heading and arrives along the
// stand's: a cubic curve given as two halves, each a corner the ground curves round (the first
// handle, the middle of the handles, the second handle). Where the line ahead meets the stand's
// centre line before both, the path is the one curve round that meeting point.
std::vector<common::GeoPoint> LiveTraffic::standApproachPath(const LiveAircraft& aircraft,
                                                             common::GeoPoint from) const {
    const double latitude = from.latitude;
    const double metresPerEast = metresPerDegree * std::cos(latitude * degrees);
    const double east =
        wrapPi((aircraft.standLongitude - from.longitude) * degrees) / degrees * metresPerEast;
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
    const auto corner = crossLines(aheadEast, aheadNorth, lineEast, lineNorth, east, north);
    if (corner && corner->along > 0.0 && corner->before > 0.0 && corner->along < 2.0 * distance &&
        corner->before < 2.0 * distance) {
        leave = 2.0 * corner->along / 3.0;
        arrive = 2.0 * corner->before / 3.0;
    }
    const auto toGeo = [&](double e, double n) {
        return common::GeoPoint{latitude + n / metresPerDegree, from.longitude + e / metresPerEast};
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
