#include "realtraffic/AltitudeCorrection.hpp"

#include <algorithm>
#include <cmath>

namespace corv::realtraffic {

namespace {
constexpr double standardQnh = 1013.25;
constexpr double feetPerHectopascal = 30.0;
// Without a park airport nothing is known about the ground; this keeps h - g large.
constexpr double unknownGroundFeet = -1000.0;
constexpr double groundDecisionCeilingFeet = 14000.0;
constexpr double taxiSpeedKnots = 35.0;
constexpr double airborneOnlyMarginFeet = 150.0;

// Close to the ground and slow enough: rolling or taxiing, not flying.
bool onGround(double height, double groundSpeed) {
    if (height <= 0.0) return true;
    const double distance = std::abs(height);
    return (distance <= 42.0 && groundSpeed <= 120.0) ||
           (distance <= 84.0 && groundSpeed <= 80.0) || (distance <= 120.0 && groundSpeed <= 43.0);
}
}  // namespace

std::optional<double> correctedAltitude(double reported, double groundSpeed,
                                        const TrafficContext& context) {
    const std::optional<ParkAirport>& park = context.inputs.parkAirport;
    double h = 0.0;
    if (reported > 0.0) {
        // Blend in the pressure correction between 17000 and 19000 ft (smoothstep), so that
        // altitudes do not jump at the transition.
        const double f = std::clamp((reported - 17000.0) / 2000.0, 0.0, 1.0);
        const double w = f * f * (3.0 - 2.0 * f);
        const double corrected = reported + context.inputs.altitudeOffsetFeet -
                                 (context.qnh - standardQnh) * feetPerHectopascal;
        h = std::max(0.0, w * corrected + (1.0 - w) * reported);
    }
    if (h > 0.0 && h < groundDecisionCeilingFeet) {
        const double ground = park ? park->elevationFeet : unknownGroundFeet;
        if (onGround(h - ground, groundSpeed)) h = 0.0;
    }
    if (groundSpeed <= taxiSpeedKnots && h > 0.0) h = 0.0;
    if (context.airborneOnly) {
        const double parkElevation = park ? park->elevationFeet : 0.0;
        if (h - parkElevation <= airborneOnlyMarginFeet) return std::nullopt;
    }
    return h;
}

double estimatedTrueAirspeed(double altitude) {
    if (altitude <= 2000.0) return 180.0;
    if (altitude <= 5000.0) return 220.0;
    if (altitude <= 10000.0) return 250.0;
    if (altitude <= 20000.0) return 350.0;
    return 430.0;
}

}  // namespace corv::realtraffic
