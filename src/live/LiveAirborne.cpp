#include <algorithm>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "sim/SimIds.hpp"

namespace corv::live {

using namespace motion;

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
    const double qnh = services_.realTraffic.qnh();
    // Pressure altitudes sink with the QNH: descend a little faster when it is high.
    const auto defaultDescent = [&] {
        return aboveGround <= 100.0
                   ? -600.0
                   : std::min(-601.0, (from.verticalSpeed + to.verticalSpeed) / 2.0 -
                                          (qnh - 1013.25) * 6.0);
    };
    const bool flaring = aircraft.landingStage > 0;
    if (flaring) {
        // The flare sinks by its own stages.
    } else if (from.airborne && to.airborne) {
        if (aircraft.landing) {
            if (from.altitude == to.altitude && aboveGround <= 1000.0 &&
                from.verticalSpeed + to.verticalSpeed <= 100.0) {
                to.verticalSpeed = defaultDescent();
                step.altitude = to.verticalSpeed / 6000.0;
            } else {
                step.altitude = (to.altitude - sim.altitude) / ticks;
            }
        } else {
            // Low over the ground a climb is at least a departure's 1200 ft/min; a descent (an
            // arrival somewhere else than the park airport) is flown as reported, never turned
            // into a climb.
            const double wanted = (to.altitude - sim.altitude) / ticks;
            const bool climbing = wanted > 0.0;
            step.altitude = aboveGround <= 1000.0 && climbing
                                ? std::min(std::max(wanted, 0.2), handling.maxClimbNearGround)
                                : std::min(wanted, handling.maxClimbNearGround);
        }
    } else if (from.airborne) {  // touching down inside this segment
        setGear(aircraft, true);
        if (qnh <= 1013 && parkAirport_) {
            step.altitude = (parkAirport_->elevationFeet - sim.altitude) / ticks;
        } else {
            to.verticalSpeed = qnh > 1013 ? defaultDescent() : -601.0;
            step.altitude = to.verticalSpeed / 6000.0;
        }
    } else if (to.airborne) {  // lifting off
        step.altitude = sim.altitude < to.altitude ? std::min((to.altitude - sim.altitude) / ticks,
                                                              handling.maxClimbNearGround)
                                                   : 0.0;
    } else if (!aircraft.onGroundMode) {  // on the ground, but the simulator did not see it yet
        setGear(aircraft, true);
        double streamClimb = 0.0;
        for (const PositionBlock& point : aircraft.stream)
            streamClimb += point.verticalSpeed;
        if (!aircraft.landing && streamClimb > 100.0) {
            to.verticalSpeed = std::max(to.verticalSpeed, 601.0);
        } else {
            to.verticalSpeed = defaultDescent();
        }
        step.altitude = to.verticalSpeed / 6000.0;
    } else {
        setGear(aircraft, true);
        step.altitude = 0.0;
    }
    aircraft.segmentVerticalSpeed = to.verticalSpeed;

    if (aircraft.phase != AcPhase::TakeOff && !flaring) {
        double v = std::clamp(aircraft.segmentVerticalSpeed, -3000.0, 2400.0);
        if (v < 0) v /= 2.0;
        const double target = -3.0 * degrees - (v / 600.0) * 2.2 * degrees;
        step.pitch =
            std::clamp((target - sim.pitch) / ticks, -handling.pitchRate, handling.pitchRate);
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
        approachConfiguration(aircraft);
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
