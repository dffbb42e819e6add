#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <stdexcept>

#include "common/GreatCircle.hpp"
#include "live/PositionBlock.hpp"

// Units and small helpers shared by the movement steps of the live aircraft.
namespace corv::live::motion {

inline constexpr double pi = std::numbers::pi;
inline constexpr double degrees = pi / 180.0;
inline constexpr double samePosition = 1e-8;  // degrees
inline constexpr double nearPosition = 0.00015;
inline constexpr std::int32_t shortestSegment = 25;  // ticks
inline constexpr std::int32_t ticksPerHour = 360000;
inline constexpr std::int32_t ticksPerMinute = 6000;
inline constexpr std::int32_t holdingPointTicks = 300;
inline constexpr std::int32_t windowTicks = 3000;
inline constexpr std::int32_t departingLateTicks = 5000;
// An aircraft off its points' times flies each segment up to a share of its natural time faster
// or slower until it is back on time: reported speeds never quite match the distances flown (a
// roll-out slowing within a segment, a taxi cutting the corners of its real curve), and without
// this the error adds up segment after segment. In the air a tenth is hardly visible and makes up
// two and a half seconds within half a minute; a taxiing aircraft changes its speed all the time,
// and its reported speed lags behind when it speeds up (fr24 by seconds): a half keeps it on its
// reported track through a whole taxi and a take-off run.
inline constexpr std::int32_t airCatchUpDivisor = 10;
inline constexpr std::int32_t groundCatchUpDivisor = 2;

// The arrival tick of a moving segment, `natural` from its speed, moved towards the point's due
// tick by up to the share `divisor` gives.
inline std::int32_t catchUp(std::int32_t natural, std::int32_t now, std::int32_t due,
                            std::int32_t divisor) {
    const std::int32_t leeway = (natural - now) / divisor;
    return natural > due ? std::max(due, natural - leeway) : std::min(due, natural + leeway);
}

inline common::GeoPoint at(const PositionBlock& point) {
    return {point.latitude, point.longitude};
}

inline bool samePlace(const PositionBlock& a, const PositionBlock& b, double within) {
    return std::fabs(a.latitude - b.latitude) <= within &&
           std::fabs(a.longitude - b.longitude) <= within;
}

inline double wrapPi(double angle) {
    return std::remainder(angle, 2.0 * pi);
}

inline double wrapTurn(double angle) {
    angle = std::fmod(angle, 2.0 * pi);
    return angle < 0 ? angle + 2.0 * pi : angle;
}

inline std::int32_t toTicks(double value) {
    const double rounded = std::round(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw std::range_error("narrowing error");
    return static_cast<std::int32_t>(rounded);
}

// Where a line from the origin along the unit direction `ahead` meets the line that reaches
// `target` along the unit direction `way`, in a flat frame: origin + ahead · along =
// target − way · before. None where the two cross at less than 10 degrees, too close to parallel
// to meet at a useful corner.
struct LineCrossing {
    double along;   // from the origin
    double before;  // short of the target
};
inline std::optional<LineCrossing> crossLines(double aheadEast, double aheadNorth, double wayEast,
                                              double wayNorth, double targetEast,
                                              double targetNorth) {
    static const double shallowestSine = std::sin(10.0 * degrees);
    const double cross = aheadEast * wayNorth - aheadNorth * wayEast;
    if (std::fabs(cross) < shallowestSine) return std::nullopt;
    return LineCrossing{(targetEast * wayNorth - targetNorth * wayEast) / cross,
                        (aheadEast * targetNorth - aheadNorth * targetEast) / cross};
}

// Halfway between two points: position, altitude, speed and due tick averaged.
inline PositionBlock midpointOf(const PositionBlock& a, const PositionBlock& b) {
    PositionBlock middle = a;
    middle.latitude = (a.latitude + b.latitude) / 2.0;
    middle.longitude = (a.longitude + b.longitude) / 2.0;
    middle.altitude = (a.altitude + b.altitude) / 2.0;
    middle.airborne = middle.altitude > 0.0;
    middle.groundSpeed = (a.groundSpeed + b.groundSpeed) / 2.0;
    middle.dueTick = a.dueTick + (b.dueTick - a.dueTick) / 2;
    middle.stationary = false;
    return middle;
}

}  // namespace corv::live::motion
