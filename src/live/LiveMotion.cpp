#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/SimIds.hpp"

namespace corv::live {

namespace {
constexpr double pi = std::numbers::pi;
constexpr double degrees = pi / 180.0;
constexpr double samePosition = 1e-8;  // degrees
constexpr double nearPosition = 0.00015;
constexpr std::int32_t shortestSegment = 25;  // ticks
constexpr std::int32_t ticksPerHour = 360000;
constexpr std::int32_t ticksPerMinute = 6000;
constexpr std::int32_t holdingPointTicks = 300;
constexpr std::int32_t windowTicks = 3000;
constexpr std::int32_t departingLateTicks = 5000;

common::GeoPoint at(const PositionBlock& point) {
    return {point.latitude, point.longitude};
}

bool samePlace(const PositionBlock& a, const PositionBlock& b, double within) {
    return std::fabs(a.latitude - b.latitude) <= within &&
           std::fabs(a.longitude - b.longitude) <= within;
}

double wrapPi(double angle) {
    return std::remainder(angle, 2.0 * pi);
}

double wrapTurn(double angle) {
    angle = std::fmod(angle, 2.0 * pi);
    return angle < 0 ? angle + 2.0 * pi : angle;
}

std::int32_t toTicks(double value) {
    const double rounded = std::round(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw std::range_error("narrowing error");
    return static_cast<std::int32_t>(rounded);
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
    if (samePlace(q, n, nearPosition)) {
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
}  // namespace

std::int32_t LiveTraffic::ticksToGo(const PositionBlock& point) const {
    const std::int32_t left = point.dueTick - services_.run.liveTickCount;
    return left < shortestSegment ? shortestSegment : left;
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
    if (!stream.empty() && !plausible(point, stream.back(), aircraft)) return;
    if (aircraft.extensionCount > 0) {
        if (stream.empty()) {
            services::log("{} empty sz?", "checkExtendingSituations");
            return;
        }
        const double bearing = common::initialBearing(at(stream.back()), at(point));
        if (!aircraft.onGroundMode && std::fabs(wrapPi(bearing - aircraft.sim.heading)) >= 100.0 * degrees)
            return;
        // Data again: the extrapolated points give way to it.
        aircraft.extensionCount = 0;
        aircraft.early = windowTicks;
        aircraft.late = aircraft.departing ? departingLateTicks : windowTicks;
        stream.front().dueTick = services_.run.liveTickCount + 1;
        aircraft.holding = false;
    }
    if (!stream.empty()) point.dueTick = std::max(point.dueTick, stream.back().dueTick + 1);
    stream.push_back(point);
    if (stream.size() == 2 && stream[0].stationary && stream[1].stationary) {
        stream[0].dueTick = services_.run.liveTickCount + 1;
        stream[0].groundSpeed = stream[1].groundSpeed;
    }
}

bool LiveTraffic::updateActive(LiveAircraft& aircraft) {
    if (aircraft.stream.empty()) {
        services::log("{} stream empty ? {}, hexid:{}, objectid:{}, alt:{:.0f} ft, lalo:{}, TAS:{:.0f}",
                      services::clockText(), description(aircraft), aircraft.hexid,
                      aircraft.objectId, aircraft.sim.altitude,
                      fmt::format("{:.6f},{:.6f}", aircraft.sim.latitude, aircraft.sim.longitude),
                      aircraft.sim.trueAirspeed);
        removeFromSim(aircraft);
        return true;
    }
    if (aircraft.stream.front().dueTick <= services_.run.liveTickCount) {
        if (!advance(aircraft)) return true;
        aircraft.sim.verticalSpeed = aircraft.segmentVerticalSpeed / 60.0;
        aircraft.sim.trueAirspeed =
            aircraft.stream.front().stationary ? 0.0 : aircraft.segmentTrueAirspeed;
    }
    if (aircraft.state == AcState::Active && !aircraft.stream.front().stationary)
        motionStep(aircraft);
    if (aircraft.objectId == 0) {
        services::log("{} objectid=0? hexid: {},cs:{}, reg:{}, aimo:{} sz:{}", "updateLiveAc",
                      aircraft.hexid, aircraft.callsign, aircraft.registration,
                      aircraft.liveryTitle, aircraft.stream.size());
        removeFromSim(aircraft);
        return true;
    }
    const SimPosition& p = aircraft.sim;
    services_.simulator.queues().addPosition({p.latitude, p.longitude, p.pitch, p.bank,
                                              p.heading, p.altitude, p.verticalSpeed,
                                              p.trueAirspeed, aircraft.objectId});
    return false;
}

bool LiveTraffic::advance(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    while (stream.size() < 2) {
        if (!extendStream(aircraft)) {
            removeFromSim(aircraft);
            return false;
        }
    }
    PositionBlock& from = stream[0];
    PositionBlock& to = stream[1];
    if (!to.stationary && samePlace(from, to, samePosition)) to.stationary = true;
    retime(aircraft);
    SegmentIncrements& step = aircraft.increments;
    if (to.stationary) {
        step.latitude = step.longitude = 0.0;
        if (!aircraft.departing) {
            aircraft.early = std::max(1000, aircraft.early - 100);
            aircraft.late = std::max(1000, aircraft.late - 100);
        }
    } else {
        const double ticks = ticksToGo(to);
        step.latitude = (to.latitude - aircraft.sim.latitude) / ticks;
        step.longitude = wrapPi((to.longitude - aircraft.sim.longitude) * degrees) / degrees / ticks;
        airborneSetup(aircraft);
    }
    stream.pop_front();
    return true;
}

void LiveTraffic::retime(LiveAircraft& aircraft) {
    const PositionBlock& from = aircraft.stream[0];
    PositionBlock& to = aircraft.stream[1];
    const std::int32_t now = services_.run.liveTickCount;
    std::int32_t natural = 0;
    if (to.stationary) {
        // In the air only a helicopter stands still on purpose.
        if (to.airborne && aircraft.aircraftClass != liveries::categoryRotorcraft) return;
        std::int32_t gap = to.dueTick - from.dueTick;
        if (gap < 26) gap = shortestSegment;
        natural = std::max(from.dueTick + gap, now + shortestSegment);
    } else {
        const double distance = common::distanceNm(at(from), at(to));
        double speed = 0.0;
        if (aircraft.landing && !to.airborne) {
            speed = from.groundSpeed > 0 ? from.groundSpeed : 100.0;
        } else if (from.groundSpeed != 0.0 || to.groundSpeed != 0.0) {
            speed = (from.groundSpeed + to.groundSpeed) / 2.0;
        } else {
            const double gap = std::max<std::int32_t>(to.dueTick - from.dueTick, shortestSegment);
            speed = std::max(1.0, distance / (gap / static_cast<double>(ticksPerHour)));
        }
        if (speed <= 0.0) speed = 1.0;
        natural = now + std::max(toTicks(distance * ticksPerHour / speed), shortestSegment);
    }
    if (aircraft.extensionCount <= 0)
        natural = std::clamp(natural, to.dueTick - aircraft.early, to.dueTick + aircraft.late);
    to.dueTick = std::max(natural, now);
}

void LiveTraffic::airborneSetup(LiveAircraft& aircraft) {
    const PositionBlock& from = aircraft.stream[0];
    PositionBlock& to = aircraft.stream[1];
    const HandlingValues& handling = aircraft.handling;
    const double ticks = ticksToGo(to);
    SimPosition& sim = aircraft.sim;
    SegmentIncrements& step = aircraft.increments;
    if (aircraft.phase != AcPhase::TakeOff && aircraft.phase != AcPhase::Flying) {
        aircraft.previousPhase = aircraft.phase;
        aircraft.phase = AcPhase::Flying;
    }
    aircraft.segmentTrueAirspeed = to.trueAirspeed;
    aircraft.segmentVerticalSpeed = to.verticalSpeed;

    const double aboveGround = aircraft.altitudeAboveGround;
    const auto defaultDescent = [&] {
        return aboveGround <= 100.0 ? -600.0
                                    : std::min(-601.0, (from.verticalSpeed + to.verticalSpeed) / 2.0);
    };
    if (from.airborne && to.airborne) {
        if (aircraft.landing) {
            if (from.altitude == to.altitude && aboveGround <= 1000.0 &&
                from.verticalSpeed + to.verticalSpeed <= 100.0) {
                to.verticalSpeed = defaultDescent();
                step.altitude = to.verticalSpeed / 6000.0;
            } else {
                step.altitude = (to.altitude - sim.altitude) / ticks;
            }
        } else {
            const double wanted = (to.altitude - sim.altitude) / ticks;
            step.altitude = aboveGround <= 1000.0
                                ? std::min(std::max(wanted, 0.2), handling.maxClimbNearGround)
                                : std::min(wanted, handling.maxClimbNearGround);
        }
    } else if (from.airborne) {  // touching down inside this segment
        setGear(aircraft, true);
        to.verticalSpeed = -601.0;
        step.altitude = to.verticalSpeed / 6000.0;
    } else if (to.airborne) {  // lifting off
        step.altitude = sim.altitude < to.altitude
                            ? std::min((to.altitude - sim.altitude) / ticks,
                                       handling.maxClimbNearGround)
                            : 0.0;
    } else {
        setGear(aircraft, true);
        step.altitude = 0.0;
    }
    aircraft.segmentVerticalSpeed = to.verticalSpeed;

    if (aircraft.phase != AcPhase::TakeOff) {
        double v = std::clamp(aircraft.segmentVerticalSpeed, -3000.0, 2400.0);
        if (v < 0) v /= 2.0;
        const double target = -3.0 * degrees - (v / 600.0) * 2.2 * degrees;
        step.pitch = std::clamp((target - sim.pitch) / ticks, -handling.pitchRate,
                                handling.pitchRate);
    }

    // Arrive heading along the next leg; without one, along this leg.
    const double limit = aircraft.landing ? 2000.0 : 1000.0;
    double wantedHeading = common::initialBearing(at(from), at(to));
    if (to.trueHeading && to.bank && aboveGround < limit) {
        wantedHeading = *to.trueHeading;
    } else if (aircraft.stream.size() >= 3) {
        wantedHeading = common::initialBearing(at(to), at(aircraft.stream[2]));
    }
    const double turn = wrapPi(wantedHeading - sim.heading);
    step.heading = turn / ticks;
    if (to.bank) {
        step.bank = (*to.bank - sim.bank) / ticks;
    } else {
        const double target = std::clamp(-turn, -handling.maxBank, handling.maxBank);
        step.bank = std::clamp((target - sim.bank) / ticks, -handling.rollRate, handling.rollRate);
    }
    systemsByAltitude(aircraft);
}

void LiveTraffic::motionStep(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    const SegmentIncrements& step = aircraft.increments;
    sim.heading = wrapTurn(sim.heading + step.heading);
    sim.latitude += step.latitude;
    sim.longitude += step.longitude;
    sim.bank += step.bank;
    sim.pitch += step.pitch;
    sim.altitude += step.altitude;
    sim.longitude = std::fmod(sim.longitude + 540.0, 360.0) - 180.0;
    if (sim.latitude > 90.0 || sim.latitude < -90.0) {
        sim.latitude = std::copysign(180.0, sim.latitude) - sim.latitude;
        sim.longitude = std::fmod(sim.longitude + 360.0, 360.0) - 180.0;
    }
}

bool LiveTraffic::extendStream(LiveAircraft& aircraft) {
    const std::int32_t now = services_.run.liveTickCount;
    const bool holdingPhase =
        aircraft.phase == AcPhase::PushedBack ||
        (aircraft.phase == AcPhase::Taxi && !aircraft.departing && !aircraft.landingRoll);
    if (holdingPhase) {
        if (!aircraft.holding) {
            aircraft.holdingSince = now;
        } else if (settings::AIRBORNE_ONLY.value() ||
                   now - aircraft.holdingSince >
                       settings::MAX_HOLDING_MINUTES.value() * ticksPerMinute) {
            return false;
        }
        PositionBlock hold = aircraft.stream.front();
        hold.dueTick += holdingPointTicks;
        hold.groundSpeed = 0;
        hold.stationary = true;
        aircraft.stream.push_back(hold);
        aircraft.holding = true;
        aircraft.extensionCount = 1;
        return true;
    }
    const int count = aircraft.extensionCount;
    if (count < 0) return false;
    if (count == 1) {
        aircraft.extensionCount = -1;
        return false;
    }
    if (count > 1) {
        extendWith(aircraft, count - 1);
        return true;
    }
    const bool switchedOff =
        (aircraft.aircraftClass == liveries::categoryLight && !settings::LIGHT_AIRCRAFT.value()) ||
        (aircraft.aircraftClass == liveries::categoryHighPerformance &&
         !settings::HIGH_PERF_AIRCRAFT.value()) ||
        (aircraft.aircraftClass == liveries::categoryRotorcraft && !settings::HELICOPTERS.value());
    if (switchedOff) return false;
    if (aircraft.onGroundMode) {
        extendWith(aircraft, aircraft.phase == AcPhase::Parked ? 1 : 10);
        return true;
    }
    if (distanceFromUser(aircraft) >= settings::RANGE.value() - 0.5) return false;
    extendWith(aircraft, 8);
    return true;
}

void LiveTraffic::extendWith(LiveAircraft& aircraft, int count) {
    aircraft.extensionCount = count;
    const PositionBlock& front = aircraft.stream.front();
    PositionBlock next = front;
    const bool parked = aircraft.phase == AcPhase::Parked;
    const bool airborne = !aircraft.onGroundMode;
    const double seconds = airborne ? 8.0 : 3.0;
    if (front.stationary || parked) {
        next.groundSpeed = 0;
        next.stationary = true;
    } else {
        double speed = front.groundSpeed;
        if (airborne && !(aircraft.landing && count < 4))
            speed *= aircraft.landing ? 0.9 : 0.95;
        speed = std::max(speed, 1.0);
        next.groundSpeed = speed;
        const common::GeoPoint moved = common::destinationPoint(
            at(front), aircraft.sim.heading, speed * seconds / 3600.0);
        next.latitude = moved.latitude;
        next.longitude = moved.longitude;
        if (aircraft.landing && aircraft.landingStage == 0) {
            next.altitude -= seconds * 10.005;
            next.verticalSpeed = -667.0;
        } else if (aircraft.phase == AcPhase::TakeOff) {
            next.altitude += seconds * 25.0;
            next.verticalSpeed = 1500.0;
        }
        next.airborne = next.altitude > 0.0;
    }
    next.dueTick = front.dueTick + (parked ? 604800 * 100 : static_cast<std::int32_t>(100 * seconds));
    aircraft.stream.push_back(next);
}

void LiveTraffic::systemsByAltitude(LiveAircraft& aircraft) {
    const PositionBlock& from = aircraft.stream[0];
    const bool rotorcraft = aircraft.aircraftClass == liveries::categoryRotorcraft;
    if (from.altitude >= 10000.0) {
        if (aircraft.lightsAbove10000) return;
        aircraft.lightsAbove10000 = true;
        aircraft.lightsBelow10000 = false;
        setLights(aircraft, {true, true, false, false, false, false, true});
        setThrottle(aircraft, rotorcraft ? 4 : 3);
        setGear(aircraft, false);
        setFlaps(aircraft, 0);
        return;
    }
    if (!aircraft.lightsBelow10000) {
        aircraft.lightsBelow10000 = true;
        aircraft.lightsAbove10000 = false;
        setLights(aircraft, {true, true, true, true, true, true, true});
    }
    const double vs = aircraft.segmentVerticalSpeed;
    const double aboveGround = aircraft.altitudeAboveGround;
    const bool largeClass = aircraft.aircraftClass >= liveries::categoryBusinessJet &&
                            aircraft.aircraftClass <= liveries::categoryHeavy;
    if (aboveGround <= (largeClass ? 2050.0 : 625.0)) {
        // The approach configuration needs the park airport; until then only the cabin goes dark.
        sendEvent(aircraft, sim::event::cabinLightsSet, 0);
        return;
    }
    sendEvent(aircraft, sim::event::cabinLightsSet, 1);
    aircraft.landing = false;
    aircraft.goAround = false;
    if (vs <= -250.0 && aircraft.throttleIndex == 3) setThrottle(aircraft, rotorcraft ? 4 : 2);
    if (vs > 400.0 && aircraft.throttleIndex == 4) setThrottle(aircraft, rotorcraft ? 4 : 3);
    if (aboveGround >= 2400.0) {
        setGear(aircraft, false);
        setFlaps(aircraft, 0);
    } else if (vs <= 100.0) {
        if (aboveGround >= 2000.0) {
            if (aircraft.flapsIndex == 0) setFlaps(aircraft, 1);
        } else if (aircraft.flapsIndex <= 1) {
            setFlaps(aircraft, aircraft.flapsIndex + 1);
        }
    }
}

}  // namespace corv::live
