#include <algorithm>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "services/TimeText.hpp"
#include "sim/SimIds.hpp"

namespace corv::live {

using namespace motion;

std::int32_t LiveTraffic::ticksToGo(const PositionBlock& point) const {
    const std::int32_t left = point.dueTick - services_.run.liveTickCount;
    return left < shortestSegment ? shortestSegment : left;
}

bool LiveTraffic::updateActive(LiveAircraft& aircraft) {
    if (aircraft.stream.empty()) {
        services::log(
            "{} stream empty ? {}, hexid:{}, objectid:{}, alt:{:.0f} ft, lalo:{}, TAS:{:.0f}",
            services::clockText(), description(aircraft), aircraft.hexid, aircraft.objectId,
            aircraft.sim.altitude,
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
    services_.simulator.queues().addPosition({p.latitude, p.longitude, p.pitch, p.bank, p.heading,
                                              p.altitude, p.verticalSpeed, p.trueAirspeed,
                                              aircraft.objectId});
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
    aircraft.curve.reset();
    {
        const PositionBlock& from = stream[0];
        PositionBlock& to = stream[1];
        if (!to.stationary && samePlace(from, to, samePosition)) to.stationary = true;
        if (!to.stationary) aircraft.targetHeading = common::initialBearing(at(from), at(to));
    }
    const bool onGround = aircraft.onGroundMode && aircraft.phase != AcPhase::TakeOff;
    if (onGround)
        groundSegmentStart(aircraft);
    else
        retime(aircraft);
    const PositionBlock& to = stream[1];
    SegmentIncrements& step = aircraft.increments;
    if (to.stationary) {
        step.latitude = step.longitude = 0.0;
        if (!aircraft.departing && !aircraft.touchdownSettle) {
            aircraft.early = std::max(1000, aircraft.early - 100);
            aircraft.late = std::max(1000, aircraft.late - 100);
        }
    } else {
        const double ticks = ticksToGo(to);
        step.latitude = (to.latitude - aircraft.sim.latitude) / ticks;
        step.longitude =
            wrapPi((to.longitude - aircraft.sim.longitude) * degrees) / degrees / ticks;
        if (onGround && aircraft.landingStage == 0)
            groundSetup(aircraft);
        else
            airborneSetup(aircraft);
    }
    stream.pop_front();
    return true;
}

// Knots: the mean of the two points' speeds; landing onto the runway, the approach speed; for
// points without speeds, the distance over the time between them.
double LiveTraffic::segmentSpeed(const LiveAircraft& aircraft) const {
    const PositionBlock& from = aircraft.stream[0];
    const PositionBlock& to = aircraft.stream[1];
    if (aircraft.landing && !to.airborne) return from.groundSpeed > 0 ? from.groundSpeed : 100.0;
    if (from.groundSpeed != 0.0 || to.groundSpeed != 0.0) {
        const double speed = (from.groundSpeed + to.groundSpeed) / 2.0;
        return speed > 0.0 ? speed : 1.0;
    }
    const double gap = std::max<std::int32_t>(to.dueTick - from.dueTick, shortestSegment);
    return std::max(
        1.0, common::distanceNm(at(from), at(to)) / (gap / static_cast<double>(ticksPerHour)));
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
        const double speed = segmentSpeed(aircraft);
        natural = now + std::max(toTicks(distance * ticksPerHour / speed), shortestSegment);
    }
    if (aircraft.extensionCount <= 0) {
        natural = std::clamp(natural, to.dueTick - aircraft.early, to.dueTick + aircraft.late);
        if (!to.stationary)
            natural = catchUp(natural, now, to.dueTick,
                              to.airborne ? airCatchUpDivisor : groundCatchUpDivisor);
    }
    to.dueTick = std::max(natural, now);
}

void LiveTraffic::motionStep(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    const SegmentIncrements& step = aircraft.increments;
    if (groundMotionPhase(aircraft)) {
        groundMotionStep(aircraft);
    } else {
        sim.heading = wrapTurn(sim.heading + step.heading);
        sim.latitude += step.latitude;
        sim.longitude += step.longitude;
    }
    if (aircraft.phase == AcPhase::TakeOff) {
        takeOffStep(aircraft);
    } else if (aircraft.touchdownSettle) {
        settleStep(aircraft);
    } else if (!flareStep(aircraft)) {
        sim.bank += step.bank;
        sim.pitch += step.pitch;
        sim.altitude += step.altitude;
    }
    sim.longitude = std::fmod(sim.longitude + 540.0, 360.0) - 180.0;
    if (sim.latitude > 90.0 || sim.latitude < -90.0) {
        sim.latitude = std::copysign(180.0, sim.latitude) - sim.latitude;
        sim.longitude = std::fmod(sim.longitude + 360.0, 360.0) - 180.0;
    }
}

}  // namespace corv::live
