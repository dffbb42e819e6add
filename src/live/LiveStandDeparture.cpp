#include <cmath>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/SimIds.hpp"

// Leaving a stand: pulling out forwards when the first new point lies ahead of the stand, else
// a pushback straight back and a turn at its end towards where the aircraft then taxis.
namespace corv::live {

using namespace motion;

namespace {
constexpr double pushbackStands = 2.5;  // stand radii pushed straight back
constexpr double farMark = 900.0;       // nm: no distance measured yet

std::int32_t travelTicks(double distanceNm, double knots) {
    return std::max(1, toTicks(distanceNm * ticksPerHour / std::max(knots, 1.0)));
}

// The aircraft moved by a distance along a bearing, due after the time that takes.
PositionBlock movedPoint(const PositionBlock& from, double bearing, double distanceNm, double knots,
                         std::int32_t dueTick) {
    PositionBlock to = from;
    const common::GeoPoint moved = common::destinationPoint(at(from), bearing, distanceNm);
    to.latitude = moved.latitude;
    to.longitude = moved.longitude;
    to.groundSpeed = knots;
    to.stationary = false;
    to.dueTick = dueTick;
    return to;
}
}  // namespace

void LiveTraffic::leaveStand(LiveAircraft& aircraft) {
    aircraft.early = windowTicks;
    aircraft.late = aircraft.departing ? departingLateTicks : windowTicks;
    aircraft.startMoving = false;
    const common::GeoPoint stand{aircraft.standLatitude, aircraft.standLongitude};
    const double ahead = std::fabs(
        wrapPi(common::initialBearing(stand, at(aircraft.stream.back())) - aircraft.standHeading));
    if (ahead < 90.0 * degrees) {
        pullOut(aircraft);
    } else {
        pushBack(aircraft);
    }
    // Taxiing now: engines, taxi lights and flaps as for taxiing.
    setLights(aircraft, {true, true, false, true, false, true, false});
    sendEvent(aircraft, sim::event::engineAutoStart, 0);
    setThrottle(aircraft, 0);
    setFlaps(aircraft, 1);
}

void LiveTraffic::pullOut(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    aircraft.extensionCount = 0;
    const double knots = aircraft.handling.groundKnots;
    PositionBlock front = stream.front();
    front.groundSpeed = knots;
    front.stationary = false;
    const double distance = 2.0 * radiusOf(aircraft);
    const common::GeoPoint target = common::destinationPoint(
        {aircraft.standLatitude, aircraft.standLongitude}, aircraft.standHeading, distance);
    PositionBlock out = front;
    out.latitude = target.latitude;
    out.longitude = target.longitude;
    out.dueTick =
        services_.run.liveTickCount +
        travelTicks(common::distanceNm({aircraft.sim.latitude, aircraft.sim.longitude}, target),
                    knots);
    stream.clear();
    stream.push_back(front);
    stream.push_back(out);
    setPhase(aircraft, AcPhase::Taxi);
    aircraft.targetHeading = aircraft.sim.heading;
    services::log("{:8}: {:8} pulling out", aircraft.standId, aircraft.callsign);
    aircraft.standId.clear();
    aircraft.standNumber = 0;
}

void LiveTraffic::pushBack(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    const double knots = aircraft.handling.groundKnots;
    const double back = wrapTurn(aircraft.standHeading + pi);
    const airports::Stand* stand = standByNumber(aircraft.standNumber);
    const double standRadius = stand != nullptr ? stand->radius : radiusOf(aircraft);
    PositionBlock front = stream.front();
    front.groundSpeed = knots;
    front.stationary = false;
    front.latitude = aircraft.sim.latitude;
    front.longitude = aircraft.sim.longitude;
    const double legNm = pushbackStands * standRadius;
    const std::int32_t legTicks = travelTicks(legNm, knots);
    const PositionBlock legEnd =
        movedPoint(front, back, legNm, knots, services_.run.liveTickCount + legTicks);
    stream.clear();
    stream.push_back(front);
    stream.push_back(midpointOf(front, legEnd));
    stream.push_back(legEnd);
    if (!settings::STRAIGHT_PBS_ONLY.value()) {
        // The nose swings to one side at the end: the reports tell which; until they do, left.
        const double radius = radiusOf(aircraft);
        const std::int32_t due = legEnd.dueTick + legTicks / 2 + travelTicks(radius, knots);
        stream.push_back(movedPoint(legEnd, wrapTurn(back - pi / 2), radius, knots, due));
        aircraft.otherTurnEnd = movedPoint(legEnd, wrapTurn(back + pi / 2), radius, knots, due);
    }
    stream.front().dueTick = services_.run.liveTickCount + 1;
    aircraft.extensionCount = 0;
    aircraft.turnDirectionKnown = false;
    aircraft.pushbackCounter = 2;
    setPhase(aircraft, AcPhase::PushingBack);
    aircraft.targetHeading = aircraft.sim.heading;
    services::log("{:8}: {:8} pushing back", aircraft.standId, aircraft.callsign);
}

double LiveTraffic::pushbackStep(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    const int stage = aircraft.pushbackCounter--;
    if (stage >= 2) {
        if (stream.size() >= 3 && aircraft.otherTurnEnd) {
            if (aircraft.turnDirectionKnown && aircraft.turnRight)
                stream[2] = *aircraft.otherTurnEnd;
            buildCurve(aircraft);
            return 90.0;
        }
        aircraft.targetHeading = aircraft.sim.heading;  // straight back: the nose stays
        return 0.0;
    }
    aircraft.targetHeading = aircraft.sim.heading;
    sendEvent(aircraft, sim::event::engineAutoStart, 0);
    setThrottle(aircraft, 0);
    setFlaps(aircraft, 1);
    setPhase(aircraft, AcPhase::PushedBack);
    aircraft.pushbackCounter = 1;
    aircraft.pushedBackDistance = farMark;
    aircraft.extensionCount = 0;
    aircraft.otherTurnEnd.reset();
    return 0.0;
}

bool LiveTraffic::acceptAfterPushback(LiveAircraft& aircraft, PositionBlock& point) {
    if (aircraft.phase == AcPhase::PushingBack) {
        if (aircraft.pushbackCounter == 2 && !settings::STRAIGHT_PBS_ONLY.value()) {
            const std::optional<double> heading = point.trueHeading ? point.trueHeading
                                                  : point.track != 0.0
                                                      ? std::optional<double>(point.track * degrees)
                                                      : std::nullopt;
            if (heading) {
                aircraft.turnRight = wrapPi(*heading - aircraft.sim.heading) > 0.0;
                aircraft.turnDirectionKnown = true;
            }
        }
        return false;
    }
    // Pushed back: it waits until the reports show it taxiing away.
    const double distance =
        common::distanceNm({aircraft.sim.latitude, aircraft.sim.longitude}, at(point));
    const double radius = radiusOf(aircraft);
    const bool away = (distance > 2.75 * radius && distance > aircraft.pushedBackDistance) ||
                      distance > 6.0 * radius;
    aircraft.pushedBackDistance = distance;
    if (!away) return false;
    point.stationary = false;
    if (aircraft.extensionCount > 0) endExtension(aircraft);
    aircraft.turnDirectionKnown = false;
    setPhase(aircraft, AcPhase::Taxi);
    aircraft.standId.clear();
    aircraft.standNumber = 0;
    aircraft.holding = false;
    return true;
}

}  // namespace corv::live
