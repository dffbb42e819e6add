#include "live/InTrail.hpp"

#include <cmath>
#include <numbers>

#include "common/GreatCircle.hpp"

namespace corv::live {

bool inTrailOfUser(const SimPosition& aircraft, const sim::UserAircraftState& user,
                   const InTrailLimits& limits) {
    const common::GeoPoint userAt{user.latitude, user.longitude};
    const common::GeoPoint at{aircraft.latitude, aircraft.longitude};
    const double d = common::distanceNm(userAt, at);
    if (d > limits.distanceNm ||
        std::fabs(aircraft.altitude - user.altitudeFeet) >= limits.heightFt)
        return false;
    const double b = std::remainder(aircraft.heading - common::initialBearing(userAt, at),
                                    2.0 * std::numbers::pi);
    constexpr double feetPerNm = 6076.11549;
    return std::cos(b) * d * feetPerNm > 0 &&
           std::fabs(std::sin(b)) * d * feetPerNm <= limits.sideFt;
}

}  // namespace corv::live
