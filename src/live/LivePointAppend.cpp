#include <algorithm>
#include <cmath>
#include <deque>
#include <iterator>
#include <optional>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::live {

using namespace motion;

namespace {

// The way a taxiing aircraft goes at the newest point of its stream: along the last leg that
// leads there, or from where it is now; standing there, along its nose. None outside the taxi.
std::optional<double> taxiWay(const LiveAircraft& aircraft) {
    if (aircraft.state != AcState::Active || !aircraft.onGroundMode ||
        aircraft.phase != AcPhase::Taxi || aircraft.departing || aircraft.stream.empty())
        return std::nullopt;
    constexpr double legNm = 1.0 / 1852.0;
    const common::GeoPoint newest = at(aircraft.stream.back());
    for (auto point = std::next(aircraft.stream.rbegin()); point != aircraft.stream.rend(); ++point)
        if (common::distanceNm(at(*point), newest) > legNm)
            return common::initialBearing(at(*point), newest);
    const common::GeoPoint now{aircraft.sim.latitude, aircraft.sim.longitude};
    if (common::distanceNm(now, newest) > legNm) return common::initialBearing(now, newest);
    return aircraft.sim.heading;
}

// Some transponders' ground positions jump back and forth by a couple of tens of metres while
// the aircraft stands or creeps. A taxiing aircraft never backs up under its own power: a point
// just behind the way it goes is where it already is, not the start of a turn on the spot.
bool jitteredBack(const PositionBlock& q, const PositionBlock& n, const LiveAircraft& aircraft) {
    constexpr double jitterReachNm = 30.0 / 1852.0;
    constexpr double reversal = 160.0 * degrees;
    if (q.airborne || n.airborne || common::distanceNm(at(n), at(q)) >= jitterReachNm) return false;
    const std::optional<double> way = taxiWay(aircraft);
    return way && std::fabs(wrapPi(common::initialBearing(at(n), at(q)) - *way)) > reversal;
}

// A new point against the newest one; may turn the new point into a stationary copy.
bool plausible(PositionBlock& q, const PositionBlock& n, const LiveAircraft& aircraft) {
    if (samePlace(q, n, samePosition)) q.stationary = true;
    if (aircraft.aircraftClass == liveries::categoryRotorcraft) return true;
    const auto refused = [&](double knots) {
        return q.airborne || (aircraft.state == AcState::Active && !aircraft.onGroundMode) ||
               (aircraft.departing && q.groundSpeed > 0 && n.groundSpeed >= knots);
    };
    if (q.stationary) {
        if (refused(30.0)) return false;
        q.groundSpeed = 0;
        return true;
    }
    if (samePlace(q, n, nearPosition) || jitteredBack(q, n, aircraft)) {
        if (refused(50.0)) return false;
        const double timestamp = q.timestamp;
        const std::uint32_t hexid = q.hexid;
        q = n;
        q.timestamp = timestamp;
        q.hexid = hexid;
        q.groundSpeed = 0;
        q.stationary = true;
        return true;
    }
    if (q.groundSpeed == 0.0 && (aircraft.departing || q.airborne)) return n.groundSpeed < 50.0;
    return true;
}

// A ground point after a stop: the stop ends. Short stops, or a stop the aircraft has not really
// left, are dropped, so that it does not stand still and then jump.
void trimStationary(std::deque<PositionBlock>& stream, const PositionBlock& point) {
    constexpr std::int32_t shortStopTicks = 1500;
    constexpr double stopReachNm = 0.011879049676025918;  // 22 m
    const PositionBlock& newest = stream.back();
    if (point.stationary) {
        if (std::all_of(stream.begin(), stream.end(),
                        [](const PositionBlock& p) { return p.stationary; }))
            stream.resize(1);
        return;
    }
    const std::size_t size = stream.size();
    for (std::size_t back = 2; back <= std::min<std::size_t>(6, size); ++back) {
        const PositionBlock& moving = stream[size - back];
        if (moving.stationary) continue;
        if (newest.dueTick - moving.dueTick < shortStopTicks ||
            common::distanceNm(at(point), at(moving)) <= stopReachNm)
            stream.resize(size - back + 1);
        return;
    }
}

}  // namespace

void LiveTraffic::endExtension(LiveAircraft& aircraft) {
    aircraft.extensionCount = 0;
    aircraft.early = windowTicks;
    aircraft.late = aircraft.departing ? departingLateTicks : windowTicks;
    if (!aircraft.stream.empty()) aircraft.stream.front().dueTick = services_.run.liveTickCount + 1;
    aircraft.holding = false;
}

void LiveTraffic::appendAccepted(LiveAircraft& aircraft, PositionBlock point) {
    auto& stream = aircraft.stream;
    if (stream.size() > maxStreamPoints) {
        removeFromSim(aircraft);
        return;
    }
    if (aircraft.holding && !stream.empty() &&
        common::distanceNm(at(stream.front()), at(point)) * 1852.0 >
            settings::HOLDING_THRESHOLD_METERS.value()) {
        aircraft.holding = false;
        aircraft.holdingSince = 0;
        removeFromSim(aircraft);
        return;
    }
    if (aircraft.phase == AcPhase::Birth) {
        if (stream.empty() || !plausible(point, stream.back(), aircraft)) return;
        point.dueTick = std::max(point.dueTick, stream.back().dueTick + 1);
        stream.push_back(point);
        return;
    }
    // From its creation at the stand on, new points only tell whether it leaves the stand.
    if (aircraft.state != AcState::Buffer && !aircraft.standId.empty() &&
        (aircraft.phase == AcPhase::Parking || aircraft.phase == AcPhase::Parked)) {
        if (!watchStand(aircraft, point)) return;
    } else if (aircraft.phase == AcPhase::PushingBack || aircraft.phase == AcPhase::PushedBack) {
        if (!acceptAfterPushback(aircraft, point)) return;
    }
    if (aircraft.landing || aircraft.landingRoll) {
        if (!acceptDuringLanding(aircraft, point)) return;
    } else {
        if (!stream.empty() && !plausible(point, stream.back(), aircraft)) return;
        if (aircraft.extensionCount > 0) {
            if (stream.empty()) {
                services::log("{} empty sz?", "checkExtendingSituations");
                return;
            }
            const double bearing = common::initialBearing(at(stream.back()), at(point));
            if (!aircraft.onGroundMode &&
                std::fabs(wrapPi(bearing - aircraft.sim.heading)) >= 100.0 * degrees)
                return;
            endExtension(aircraft);  // data again: the extrapolated points give way to it
        }
    }
    if (stream.empty()) {
        stream.push_back(point);
        return;
    }
    const PositionBlock newest = stream.back();
    if (!point.airborne && newest.stationary) trimStationary(stream, point);
    point.dueTick = std::max(point.dueTick, newest.dueTick + 1);
    if (aircraft.state == AcState::Active && aircraft.onGroundMode && !aircraft.departing) {
        constexpr double runKnots = 43.0;
        if (aircraft.landingRoll) {
            if (newest.airborne && point.airborne) touchAndGo(aircraft);
        } else if (aircraft.phase == AcPhase::Taxi &&
                   (point.airborne ||
                    (point.groundSpeed >= runKnots && newest.groundSpeed >= runKnots))) {
            startDepartureRun(aircraft);
        }
    }
    stream.push_back(point);
    if (stream.size() == 2 && stream[0].stationary && stream[1].stationary) {
        stream[0].dueTick = services_.run.liveTickCount + 1;
        stream[0].groundSpeed = stream[1].groundSpeed;
    }
}

// Airborne again on the landing roll: the aircraft takes off again from the roll.
void LiveTraffic::touchAndGo(LiveAircraft& aircraft) {
    setPhase(aircraft, AcPhase::Taxi);
    aircraft.departing = true;
    setThrottle(aircraft, 3);
    setSpoilers(aircraft, true);
    setFlaps(aircraft, 1);
    aircraft.landing = false;
    aircraft.landingStage = 0;
    aircraft.goAround = false;
    setLights(aircraft, {true, true, true, true, true, true, false});
    aircraft.early = windowTicks;
    aircraft.late = departingLateTicks;
}

// While landing or rolling out the points come thick and may wander back: keep the stream
// pointing the way the aircraft flies.
bool LiveTraffic::acceptDuringLanding(LiveAircraft& aircraft, PositionBlock& point) {
    auto& stream = aircraft.stream;
    if (stream.empty()) {
        services::log("{} empty sz?", "checkNewPosDuringLanding");
        return false;
    }
    if (samePlace(point, stream.back(), samePosition)) return false;
    const double heading = aircraft.sim.heading;
    const auto turnFrom = [&](const PositionBlock& from) {
        return std::fabs(wrapPi(common::initialBearing(at(from), at(point)) - heading));
    };
    if (stream.size() == 1) {
        const double turn = turnFrom(stream.front());
        if (aircraft.landing && turn >= 90.0 * degrees) return false;
        if (aircraft.landingRoll && turn >= 150.0 * degrees) {
            if (aircraft.extensionCount > 0) return false;
            PositionBlock here = stream.front();
            here.latitude = aircraft.sim.latitude;
            here.longitude = aircraft.sim.longitude;
            here.dueTick = services_.run.liveTickCount + 1;
            stream.clear();
            stream.push_back(here);
        }
    } else if (turnFrom(stream.back()) >= 90.0 * degrees) {
        stream.pop_back();
        if (stream.size() > 1 && turnFrom(stream.back()) >= 90.0 * degrees) stream.pop_back();
    }
    if (aircraft.extensionCount > 0) endExtension(aircraft);
    const PositionBlock& newest = stream.back();
    if (samePlace(point, newest, samePosition)) {
        point.stationary = true;
    } else if (point.groundSpeed > newest.groundSpeed && point.groundSpeed > 40.0) {
        point.groundSpeed = newest.groundSpeed;
    }
    return true;
}

}  // namespace corv::live
