#include <algorithm>
#include <numbers>

#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"

namespace corv::live {

using namespace motion;

namespace {
constexpr double slowClimbFeetPerMinute = 256.0;
constexpr int gearUpAtCounter = -300;
constexpr int lowestCounter = -1000;
constexpr double climbedOutFeet = 800.0;
}  // namespace

// A taxiing aircraft whose reports turn airborne, or fast: its take-off run begins.
void LiveTraffic::startDepartureRun(LiveAircraft& aircraft) {
    if (aircraft.towed) services::log("towed aircraft takes-off? {}", description(aircraft));
    aircraft.departing = true;
    setThrottle(aircraft, 0);
    setSpoilers(aircraft, false);
    setFlaps(aircraft, 1);
    aircraft.landing = false;
    aircraft.goAround = false;
    setLights(aircraft, {true, true, true, true, true, true, false});
    aircraft.early = windowTicks;
    aircraft.late = departingLateTicks;
}

// On the run: lift off once the reports show the aircraft flying.
void LiveTraffic::checkTakeOff(LiveAircraft& aircraft) {
    const auto& stream = aircraft.stream;
    const auto later = stream.begin() + 1;
    const bool slowClimbAhead = std::any_of(later, stream.end(), [](const PositionBlock& p) {
        return p.verticalSpeed <= slowClimbFeetPerMinute;
    });
    if (slowClimbAhead) {
        const bool flying = std::all_of(later, stream.end(), [&](const PositionBlock& p) {
            return p.groundSpeed >= aircraft.handling.liftOffKnots && p.airborne;
        });
        if (flying) startTakeOff(aircraft, aircraft.handling.maxClimbNearGround);
        return;
    }
    const bool groundAhead =
        std::any_of(later, stream.end(), [](const PositionBlock& p) { return !p.airborne; });
    startTakeOff(aircraft, groundAhead ? aircraft.handling.maxClimbNearGround
                                       : std::max(stream[1].altitude - aircraft.sim.altitude, 0.1) /
                                             ticksToGo(stream[1]));
}

void LiveTraffic::startTakeOff(LiveAircraft& aircraft, double climbPerTick) {
    if (aircraft.landingRoll) {  // a touch-and-go
        setThrottle(aircraft, 4);
        setSpoilers(aircraft, true);
        setFlaps(aircraft, 1);
    }
    aircraft.takeOffClimb = climbPerTick;
    aircraft.takeOffCounter = std::max(1, aircraft.handling.takeOffRollTicks);
    aircraft.sim.bank = 0.0;
    aircraft.increments.pitch =
        (aircraft.handling.rotationPitch - aircraft.sim.pitch) / aircraft.takeOffCounter;
    aircraft.increments.heading = 0.0;
    aircraft.curve.reset();
    aircraft.turnInPlace = false;
    setPhase(aircraft, AcPhase::TakeOff);
}

// One tick of the take-off: the roll with the nose coming up, then the climb-out, the gear
// going up at 3 s, until the aircraft flies at its climb attitude 800 ft above the ground.
void LiveTraffic::takeOffStep(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    const HandlingValues& handling = aircraft.handling;
    aircraft.takeOffCounter = std::max(lowestCounter, aircraft.takeOffCounter - 1);
    const int counter = aircraft.takeOffCounter;
    if (counter >= 1) {
        aircraft.onGroundMode = false;
        if (sim.pitch > handling.rotationPitch)
            sim.pitch = std::max(handling.rotationPitch, sim.pitch + aircraft.increments.pitch);
        return;
    }
    sim.bank = std::clamp(sim.bank + aircraft.increments.bank, -pi, pi);
    if (sim.pitch > handling.initialClimbPitch) {
        const double rate = (handling.initialClimbPitch - handling.rotationPitch) /
                            std::max(1, handling.rotationTicks);
        sim.pitch = std::max(handling.initialClimbPitch, sim.pitch + rate);
    }
    double share = 1.0;
    if (counter > -100)
        share = 0.1;
    else if (counter > -200)
        share = 0.2;
    else if (counter > -300)
        share = 0.5;
    if (counter == gearUpAtCounter) setGear(aircraft, false);
    sim.altitude += aircraft.takeOffClimb * share;
    if (sim.pitch <= handling.initialClimbPitch && currentAboveGround(aircraft) >= climbedOutFeet) {
        setThrottle(aircraft, aircraft.aircraftClass == liveries::categoryRotorcraft ? 4 : 3);
        setPhase(aircraft, AcPhase::Flying);
        aircraft.takeOffCounter = 1;
    }
}

}  // namespace corv::live
