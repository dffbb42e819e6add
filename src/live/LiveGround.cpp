#include <algorithm>
#include <cmath>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"

namespace corv::live {

using namespace motion;

namespace {
constexpr double alignedWithin = 0.5 * degrees;
}  // namespace

// A straight ground segment: the aircraft rolls along it on its wheels, the nose turning
// towards it at the class's turn rate. Curves, pushbacks and take-offs build on this.
void LiveTraffic::groundSetup(LiveAircraft& aircraft) {
    const PositionBlock& from = aircraft.stream[0];
    const PositionBlock& to = aircraft.stream[1];
    if (aircraft.phase == AcPhase::Flying || aircraft.phase == AcPhase::Parked)
        setPhase(aircraft, AcPhase::Taxi);
    aircraft.targetHeading = common::initialBearing(at(from), at(to));
    aircraft.turnRate = aircraft.handling.baseTurnRate;
    aircraft.turnOnGround = true;
    const bool rotorcraft = aircraft.aircraftClass == liveries::categoryRotorcraft;
    if (!aircraft.departing && !aircraft.landingRoll) setThrottle(aircraft, rotorcraft ? 4 : 0);
    SegmentIncrements& step = aircraft.increments;
    step.altitude = 0.0;
    step.heading = 0.0;
    aircraft.sim.pitch = aircraft.staticPitch;
    aircraft.sim.bank = 0.0;
    step.pitch = step.bank = 0.0;
    aircraft.segmentTrueAirspeed = to.groundSpeed;
    aircraft.segmentVerticalSpeed = 0.0;
}

void LiveTraffic::turnTowards(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    const double turn = wrapPi(aircraft.targetHeading - sim.heading);
    if (std::fabs(turn) <= alignedWithin) return;
    sim.heading = wrapTurn(sim.heading + std::clamp(turn, -aircraft.turnRate, aircraft.turnRate));
}

}  // namespace corv::live
