#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"

namespace corv::live {

using namespace motion;

namespace {
constexpr double alignedWithin = 0.5 * degrees;
constexpr double turnInPlaceAbove = 3.0;  // degrees
// A bend beyond this at a curve's end is a hairpin or a reversal: the curve does not leave
// towards it.
constexpr double mostBlendedBend = 100.0 * degrees;
constexpr double slideTolerated = 5.0;  // degrees
// Radians per tick (40 deg/s): a nose catching up faster would jerk round.
constexpr double briskestCatchUp = 0.4 * degrees;
constexpr double metres50Nm = 0.02699784017278618;
constexpr double metres100Nm = 100.0 / 1852.0;
constexpr double metres30Nm = 30 * 0.0005399568034557236;
constexpr double nmPerDegree = 60.0;

// Driven onto its stand along a straight line, the nose goes round to the stand's heading.
bool creepingOntoStand(const LiveAircraft& aircraft) {
    return aircraft.phase == AcPhase::Parking && !aircraft.curve;
}

double degreesBetween(double a, double b) {
    return std::fabs(wrapPi(a - b)) / degrees;
}

// Local frame of a curve: nautical miles east and north of its start.
void toLocal(const GroundCurve& curve, const PositionBlock& p, double& east, double& north) {
    east = wrapPi((p.longitude - curve.startLongitude) * degrees) / degrees * nmPerDegree *
           std::cos(curve.startLatitude * degrees);
    north = (p.latitude - curve.startLatitude) * nmPerDegree;
}

// Radians the way turns per unit of the curve's parameter where it turns fastest: the curve's
// parameter runs evenly in time, and where the corner lies near one end most of the turn comes
// in a short stretch.
double sharpestTurn(const GroundCurve& curve) {
    constexpr int samples = 32;
    const double bendEast = 2.0 * (curve.endEast - 2.0 * curve.controlEast);
    const double bendNorth = 2.0 * (curve.endNorth - 2.0 * curve.controlNorth);
    double sharpest = 0.0;
    for (int i = 0; i <= samples; ++i) {
        const double t = static_cast<double>(i) / samples;
        const double east =
            2.0 * (1.0 - t) * curve.controlEast + 2.0 * t * (curve.endEast - curve.controlEast);
        const double north =
            2.0 * (1.0 - t) * curve.controlNorth + 2.0 * t * (curve.endNorth - curve.controlNorth);
        const double speed2 = east * east + north * north;
        if (speed2 <= 0.0) continue;
        sharpest = std::max(sharpest, std::fabs(east * bendNorth - north * bendEast) / speed2);
    }
    return sharpest;
}

// The corner moved onto the line the nose points along, where that line meets the one the curve
// leaves on: the curve then sets out the way the aircraft faces. Where the reports bend again
// at its end, towards the point after it, the curve leaves along that next leg, so that what
// follows (a curve from that point, or a straight line) sets out the way the nose already
// points; without that the nose lags the way by the bend until it catches up, sliding. If the
// lines do not meet where they should, it leaves along the middle way between the two legs
// (half the bend left to make up), else along the way the reports go into its end. On the
// reported line with no bend ahead the corner stays where it was; where the lines hardly cross,
// or meet behind or far off, the corner stays too.
void keepCurveOnTheNose(GroundCurve& curve, double heading,
                        std::optional<std::pair<double, double>> next) {
    const double intoEast = curve.endEast - curve.controlEast;
    const double intoNorth = curve.endNorth - curve.controlNorth;
    const double intoLength = std::hypot(intoEast, intoNorth);
    const double toCorner = std::hypot(curve.controlEast, curve.controlNorth);
    if (intoLength <= 0.0 || toCorner <= 0.0) return;
    const double aheadEast = std::sin(heading);
    const double aheadNorth = std::cos(heading);
    const auto moveCorner = [&](double leaveEast, double leaveNorth) {
        const auto corner =
            crossLines(aheadEast, aheadNorth, leaveEast, leaveNorth, curve.endEast, curve.endNorth);
        if (!corner) return false;
        const double u = corner->along;
        const double w = corner->before;
        if (u <= 0.0 || w <= 0.0 || u > 2.0 * toCorner || w > 2.0 * intoLength) return false;
        curve.controlEast = aheadEast * u;
        curve.controlNorth = aheadNorth * u;
        return true;
    };
    const double intoBearing = std::atan2(intoEast, intoNorth);
    if (next) {
        const double outEast = next->first - curve.endEast;
        const double outNorth = next->second - curve.endNorth;
        const double bend = wrapPi(std::atan2(outEast, outNorth) - intoBearing);
        if (std::hypot(outEast, outNorth) > 0.0 && std::fabs(bend) > turnInPlaceAbove * degrees &&
            std::fabs(bend) < mostBlendedBend) {
            for (const double share : {1.0, 0.5}) {
                const double leave = intoBearing + share * bend;
                if (moveCorner(std::sin(leave), std::cos(leave))) return;
            }
        }
    }
    moveCorner(intoEast / intoLength, intoNorth / intoLength);
}

// A straight segment that sets out well off the nose (the aircraft stood after a tug turned it,
// or the reports turned where its last curve could not follow) slides while the nose swings
// round. It is driven instead as a curve that leaves along the nose, its corner a quarter of the
// way out: the nose follows the way through the turn. Not for a way behind the aircraft, nor one
// of a few metres.
std::optional<GroundCurve> curveOffTheNose(const LiveAircraft& aircraft, double offDegrees) {
    constexpr double shortestNm = 10.0 / 1852.0;
    if (offDegrees <= 2.0 * slideTolerated || offDegrees >= 90.0 ||
        aircraft.phase != AcPhase::Taxi || aircraft.departing || aircraft.landingRoll)
        return std::nullopt;
    GroundCurve curve;
    curve.startLatitude = aircraft.sim.latitude;
    curve.startLongitude = aircraft.sim.longitude;
    toLocal(curve, aircraft.stream[1], curve.endEast, curve.endNorth);
    const double length = std::hypot(curve.endEast, curve.endNorth);
    if (length < shortestNm) return std::nullopt;
    curve.controlEast = std::sin(aircraft.sim.heading) * length / 4.0;
    curve.controlNorth = std::cos(aircraft.sim.heading) * length / 4.0;
    return curve;
}
}  // namespace

// Where the speed changes a lot over a long segment, a point halfway keeps the change gradual.
void LiveTraffic::splitWhenNeeded(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    const PositionBlock& from = stream[0];
    const PositionBlock& to = stream[1];
    if ((from.stationary && to.stationary) || std::fabs(from.groundSpeed - to.groundSpeed) <= 5.0 ||
        common::distanceNm(at(from), at(to)) < metres100Nm)
        return;
    stream.insert(stream.begin() + 1, midpointOf(from, to));
}

void LiveTraffic::releaseLandingControls(const LiveAircraft& aircraft) {
    if (aircraft.aircraftClass != liveries::categoryLight && aircraft.objectId != 0)
        services_.simulator.writeLandingRoll(aircraft.objectId, 0.0, 0.0);
}

void LiveTraffic::endLandingRollIfTurnedOff(LiveAircraft& aircraft) {
    const PositionBlock& from = aircraft.stream[0];
    if (degreesBetween(aircraft.sim.heading, aircraft.touchdownHeading) >= 15.0) {
        setFlaps(aircraft, 0);
        aircraft.landingRoll = false;
        setThrottle(aircraft, aircraft.aircraftClass == liveries::categoryRotorcraft ? 4 : 0);
        setSpoilers(aircraft, false);
        releaseLandingControls(aircraft);
        setLights(aircraft, {true, true, false, true, false, true, true});
    } else if (from.groundSpeed <= 90.0) {
        setSpoilers(aircraft, false);
        releaseLandingControls(aircraft);
        setFlaps(aircraft, 1);
    }
}

// The start of a ground segment: straight, a curve through the reported corner, a midpoint
// before a sharp slow turn, or a turn in place; then the segment's timing.
void LiveTraffic::groundSegmentStart(LiveAircraft& aircraft) {
    if (aircraft.landingRoll) endLandingRollIfTurnedOff(aircraft);
    double turnDegrees = planGroundSegment(aircraft);
    if (stopToPark(aircraft)) {
        // The drive onto the stand replaced the points ahead: planned afresh.
        aircraft.curve.reset();
        turnDegrees = planGroundSegment(aircraft);
    }
    retimeOnGround(aircraft, turnDegrees);
}

double LiveTraffic::planGroundSegment(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    aircraft.turnInPlace = false;
    aircraft.turnRate = aircraft.handling.baseTurnRate;
    double turnDegrees = 0.0;
    if (aircraft.phase == AcPhase::PushingBack) {
        turnDegrees = pushbackStep(aircraft);
    } else if (aircraft.phase == AcPhase::Parked && aircraft.startMoving) {
        leaveStand(aircraft);
    } else if (!stream[1].stationary) {
        if (stream.size() >= 3) {
            if (stream[2].stationary) {
                splitWhenNeeded(aircraft);
            } else {
                const double heading = aircraft.sim.heading;
                const double d =
                    degreesBetween(common::initialBearing(at(stream[1]), at(stream[2])), heading);
                const double length = common::distanceNm(at(stream[0]), at(stream[1]));
                if (d > 45.0 && length > metres50Nm && stream[0].groundSpeed <= 43.0 &&
                    stream[1].dueTick - stream[0].dueTick > 599) {
                    stream.insert(stream.begin() + 1, midpointOf(stream[0], stream[1]));
                } else if (d <= 3.0 || d > 160.0 || samePlace(stream[2], stream[0], samePosition)) {
                    splitWhenNeeded(aircraft);
                } else {
                    buildCurve(aircraft);
                    turnDegrees = d;
                }
            }
        } else if (aircraft.extensionCount <= 0) {
            splitWhenNeeded(aircraft);
        }
        if (!aircraft.curve) {
            aircraft.targetHeading = creepingOntoStand(aircraft)
                                         ? aircraft.standHeading
                                         : common::initialBearing(at(stream[0]), at(stream[1]));
            const double turn = degreesBetween(aircraft.targetHeading, aircraft.sim.heading);
            aircraft.curve = curveOffTheNose(aircraft, turn);
            if (aircraft.curve) {
                const GroundCurve& curve = *aircraft.curve;
                turnDegrees = degreesBetween(std::atan2(curve.endEast - curve.controlEast,
                                                        curve.endNorth - curve.controlNorth),
                                             aircraft.sim.heading);
            } else {
                aircraft.turnInPlace = turn > turnInPlaceAbove;
                if (aircraft.turnInPlace) turnDegrees = turn;
            }
        }
    }
    return turnDegrees;
}

// A taxiing aircraft coming to rest at the park airport pulls into the stand it stopped at;
// true when it does.
bool LiveTraffic::stopToPark(LiveAircraft& aircraft) {
    const auto& stream = aircraft.stream;
    if (!stream.back().stationary || aircraft.phase != AcPhase::Taxi || !standsLoaded())
        return false;
    const AcPhase before = aircraft.previousPhase;
    const bool leftStand = before == AcPhase::Parked || before == AcPhase::PushingBack ||
                           before == AcPhase::PushedBack;
    if (leftStand && !aircraft.towed) return false;
    if (aircraft.extensionCount > 0) {
        try2Park(aircraft, aircraft.landed);
    } else if (stream[1].groundSpeed <= 5.0 &&
               common::distanceNm({aircraft.sim.latitude, aircraft.sim.longitude},
                                  at(stream.back())) <= 0.018898488120950324) {
        try2Park(aircraft, false);
    }
    return aircraft.phase == AcPhase::Parking;
}

void LiveTraffic::buildCurve(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    PositionBlock& end = stream[2];
    if (end.groundSpeed == 0.0)
        end.groundSpeed = (stream[0].groundSpeed + stream[1].groundSpeed) / 2.0;
    GroundCurve curve;
    curve.startLatitude = aircraft.sim.latitude;
    curve.startLongitude = aircraft.sim.longitude;
    toLocal(curve, stream[1], curve.controlEast, curve.controlNorth);
    toLocal(curve, end, curve.endEast, curve.endNorth);
    std::optional<std::pair<double, double>> next;
    if (stream.size() >= 4 && !stream[3].stationary) {
        next.emplace();
        toLocal(curve, stream[3], next->first, next->second);
    }
    keepCurveOnTheNose(curve, aircraft.sim.heading, next);
    aircraft.curve = curve;
    stream.erase(stream.begin() + 1);
}

void LiveTraffic::retimeOnGround(LiveAircraft& aircraft, double turnDegrees) {
    const PositionBlock& from = aircraft.stream[0];
    PositionBlock& to = aircraft.stream[1];
    if (to.stationary) {
        retime(aircraft);
        return;
    }
    const std::int32_t now = services_.run.liveTickCount;
    const double length = aircraft.curve
                              ? std::hypot(aircraft.curve->endEast, aircraft.curve->endNorth)
                              : common::distanceNm(at(from), at(to));
    const std::int32_t natural =
        std::max(toTicks(length * ticksPerHour / segmentSpeed(aircraft)), shortestSegment);
    const bool turning = turnDegrees > 0.0 && length > 0.0;
    if (turning) {
        // Mixed units as the rule stands: degrees over radians per tick.
        const std::int32_t n =
            std::max<std::int32_t>(1, toTicks(turnDegrees / aircraft.turnRate / 100.0));
        const double k = static_cast<double>(natural) / n;
        if (turnDegrees > 45.0) {
            aircraft.turnRate *= std::min(k, std::min(turnDegrees, 90.0) / 30.0);
            if (turnDegrees >= 90.0) {
                aircraft.early = std::max(aircraft.early, 2000);
                aircraft.late = std::max(aircraft.late, 2000);
            }
        } else if (k >= 1.2) {
            const double divisor = std::min({k, 10.0 * k / turnDegrees, metres30Nm * k / length});
            if (divisor > 0.0) aircraft.turnRate /= divisor;
        } else if (k > 0.0) {
            aircraft.turnRate /= k;
        }
    }
    std::int32_t due = now + natural;
    if (aircraft.extensionCount <= 0) {
        due = std::clamp(due, to.dueTick - aircraft.early, to.dueTick + aircraft.late);
        due = catchUp(due, now, to.dueTick, groundCatchUpDivisor);
    }
    to.dueTick = std::max(due, now);
    if (turning) keepNoseWithTheWay(aircraft, turnDegrees, std::max(to.dueTick - now, 1));
}

// The turn rules above time the nose by the segment's natural time, but keeping to the reported
// times can make the segment much shorter: the nose would fall behind the way and the aircraft
// slide sideways through the turn. Timed by the segment as it will be driven, the nose turns a
// quarter faster than a curve where it turns fastest (up to 40 deg/s), twice as fast as a turn
// onto a straight line needs on average; where it starts off the way the segment sets out (a new
// straight line, or a curve begun with the nose still lagging the last one), most of that is made
// up within the first half second. Creeping onto a stand it has all the time it needs; pushed
// back, the tug turns it.
void LiveTraffic::keepNoseWithTheWay(LiveAircraft& aircraft, double turnDegrees,
                                     std::int32_t ticks) {
    const double needed =
        aircraft.curve ? std::min(1.25 * sharpestTurn(*aircraft.curve) / ticks, briskestCatchUp)
                       : 2.0 * turnDegrees * degrees / ticks;
    aircraft.turnRate = std::max(aircraft.turnRate, needed);
    if (aircraft.phase == AcPhase::PushingBack || creepingOntoStand(aircraft)) return;
    const double offAtStart =
        aircraft.curve
            ? degreesBetween(std::atan2(aircraft.curve->controlEast, aircraft.curve->controlNorth),
                             aircraft.sim.heading)
            : (aircraft.turnInPlace ? turnDegrees : 0.0);
    aircraft.turnRate =
        std::max(aircraft.turnRate,
                 std::min((offAtStart - slideTolerated) * degrees / 50.0, briskestCatchUp));
}

// Ground rules of a segment's increments: taxi phase, throttle by situation, resting attitude.
void LiveTraffic::groundSetup(LiveAircraft& aircraft) {
    const PositionBlock& from = aircraft.stream[0];
    const PositionBlock& to = aircraft.stream[1];
    if (aircraft.phase == AcPhase::Flying || aircraft.phase == AcPhase::Parked)
        setPhase(aircraft, AcPhase::Taxi);
    const bool rotorcraft = aircraft.aircraftClass == liveries::categoryRotorcraft;
    if (aircraft.departing) {
        int throttle = 0;
        if (rotorcraft || from.groundSpeed >= 25.0 || to.groundSpeed >= 30.0)
            throttle = 4;
        else if (from.groundSpeed >= 20.0 || to.groundSpeed >= 25.0)
            throttle = 2;
        else if (from.groundSpeed >= 15.0 || to.groundSpeed >= 20.0)
            throttle = 1;
        setThrottle(aircraft, throttle);
    } else if (!aircraft.landingRoll) {
        setThrottle(aircraft, rotorcraft ? 4 : 0);
    }
    SegmentIncrements& step = aircraft.increments;
    step.altitude = 0.0;
    step.heading = 0.0;
    if (aircraft.landingStage == 0 && aircraft.phase != AcPhase::TakeOff) {
        aircraft.sim.pitch = aircraft.staticPitch;
        aircraft.sim.bank = 0.0;
        step.pitch = step.bank = 0.0;
    }
    if (aircraft.curve) aircraft.curve->step = 1.0 / ticksToGo(to);
    aircraft.segmentTrueAirspeed =
        aircraft.phase == AcPhase::PushingBack ? -to.groundSpeed : to.groundSpeed;
    aircraft.segmentVerticalSpeed = 0.0;
    if (aircraft.departing && aircraft.phase != AcPhase::TakeOff && from.groundSpeed >= 43.0)
        checkTakeOff(aircraft);
}

bool LiveTraffic::groundMotionPhase(const LiveAircraft& aircraft) const {
    return aircraft.onGroundMode &&
           (aircraft.phase == AcPhase::PushingBack || aircraft.phase == AcPhase::PushedBack ||
            aircraft.phase == AcPhase::Taxi || aircraft.phase == AcPhase::Parking);
}

void LiveTraffic::groundMotionStep(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    if (aircraft.curve) {
        GroundCurve& curve = *aircraft.curve;
        curve.t = std::min(1.0, curve.t + curve.step);
        const double t = curve.t;
        const double east = 2 * (1 - t) * t * curve.controlEast + t * t * curve.endEast;
        const double north = 2 * (1 - t) * t * curve.controlNorth + t * t * curve.endNorth;
        const double dEast = 2 * (1 - 2 * t) * curve.controlEast + 2 * t * curve.endEast;
        const double dNorth = 2 * (1 - 2 * t) * curve.controlNorth + 2 * t * curve.endNorth;
        if (!std::isfinite(east) || !std::isfinite(north)) {
            services::log("{} error in curve at index: {:.2F}", description(aircraft), t);
            aircraft.curve.reset();
            return;
        }
        sim.latitude = curve.startLatitude + north / nmPerDegree;
        sim.longitude =
            curve.startLongitude + east / (nmPerDegree * std::cos(curve.startLatitude * degrees));
        if (dEast != 0.0 || dNorth != 0.0) {
            aircraft.targetHeading = wrapTurn(std::atan2(dEast, dNorth) +
                                              (aircraft.phase == AcPhase::PushingBack ? pi : 0.0));
        }
        turnTowards(aircraft);
        return;
    }
    if (aircraft.turnInPlace || aircraft.phase != AcPhase::Taxi) turnTowards(aircraft);
    if (aircraft.phase == AcPhase::PushedBack) return;
    sim.latitude += aircraft.increments.latitude;
    sim.longitude += aircraft.increments.longitude;
}

void LiveTraffic::turnTowards(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    const double turn = wrapPi(aircraft.targetHeading - sim.heading);
    if (std::fabs(turn) <= alignedWithin) return;
    sim.heading = wrapTurn(sim.heading + std::clamp(turn, -aircraft.turnRate, aircraft.turnRate));
}

}  // namespace corv::live
