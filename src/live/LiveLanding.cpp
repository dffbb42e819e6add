#include <algorithm>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "sim/SimIds.hpp"

namespace corv::live {

using namespace motion;

namespace {
constexpr double nearParkAirportNm = 10.0;
constexpr double flarePitch = -4.0 * degrees;  // the most nose-up attitude of the flare
constexpr double flareBeginsFeet = 400.0;

// The four flare stages: entered this high above the ground (over the centre of gravity), then
// sinking this much per tick while telling the simulator this vertical speed.
struct FlareStage {
    double entryFeet;
    double feetPerTick;
    double verticalSpeed;  // feet per minute
};
constexpr FlareStage flareStages[] = {
    {30.0, -0.1, -601.0}, {20.0, -0.075, -450.0}, {10.0, -0.05, -300.0}, {3.0, -0.025, -150.0}};
}  // namespace

bool LiveTraffic::nearParkAirport(const LiveAircraft& aircraft) const {
    return parkAirport_ &&
           common::distanceNm(parkAirport_->position,
                              {aircraft.sim.latitude, aircraft.sim.longitude}) <= nearParkAirportNm;
}

// Part of the systems by altitude, low over the ground: configure for landing near the park
// airport, go around when climbing away or leaving it.
void LiveTraffic::approachConfiguration(LiveAircraft& aircraft) {
    sendEvent(aircraft, sim::event::cabinLightsSet, 0);
    const bool rotorcraft = aircraft.aircraftClass == liveries::categoryRotorcraft;
    const double vs = aircraft.segmentVerticalSpeed;
    const bool near = nearParkAirport(aircraft);
    if (vs <= -250.0 && !aircraft.landing && near) {
        setThrottle(aircraft, rotorcraft ? 4 : 1);
        setFlaps(aircraft, 3);
        setGear(aircraft, true);
        staticTwinChecks_.push_back(aircraft.hexid);
        aircraft.landing = true;
        aircraft.goAround = false;
        aircraft.standId.clear();
        aircraft.early = windowTicks;
        aircraft.late = aircraft.departing ? departingLateTicks : windowTicks;
    } else if ((vs > 600.0 || (aircraft.landing && !near)) && !aircraft.goAround) {
        setThrottle(aircraft, 4);
        setGear(aircraft, false);
        setFlaps(aircraft, 0);
        aircraft.goAround = true;
        aircraft.landingStage = 0;
        aircraft.landing = false;
    }
}

// The simulator reports the height above ground about once a second; in between the aircraft's
// own climb or sink since that report keeps the figure current.
double LiveTraffic::currentAboveGround(const LiveAircraft& aircraft) const {
    return aircraft.altitudeAboveGround + (aircraft.sim.altitude - aircraft.altitudeAtGroundReport);
}

bool LiveTraffic::flareStep(LiveAircraft& aircraft) {
    if (!aircraft.landing || aircraft.onGroundMode) return false;
    const double aboveGround = currentAboveGround(aircraft);
    if (aircraft.landingStage == 0) {
        if (aboveGround > flareBeginsFeet) return false;
        double height = aboveGround;
        if (parkAirport_)
            height = std::min(height, aircraft.sim.altitude - parkAirport_->elevationFeet);
        if (height > aircraft.staticCgHeight + flareStages[0].entryFeet) return false;
        aircraft.landingStage = 1;
        aircraft.increments.pitch =
            (flarePitch - aircraft.sim.pitch) / std::max(1, aircraft.handling.flareTicks);
        fastRequests_ = true;
    }
    while (aircraft.landingStage < 4 &&
           aboveGround <= aircraft.staticCgHeight + flareStages[aircraft.landingStage].entryFeet) {
        ++aircraft.landingStage;
        if (aircraft.landingStage == 3) setThrottle(aircraft, 0);
    }
    const FlareStage& stage = flareStages[aircraft.landingStage - 1];
    SimPosition& sim = aircraft.sim;
    sim.bank += aircraft.increments.bank;
    sim.pitch = std::max(sim.pitch + aircraft.increments.pitch, flarePitch);
    sim.altitude += stage.feetPerTick;
    sim.verticalSpeed = stage.verticalSpeed / 60.0;
    aircraft.segmentVerticalSpeed = stage.verticalSpeed;
    return true;
}

void LiveTraffic::settleStep(LiveAircraft& aircraft) {
    SimPosition& sim = aircraft.sim;
    SegmentIncrements& step = aircraft.increments;
    sim.bank += step.bank;
    sim.pitch += step.pitch;
    const bool reached =
        step.pitch >= 0 ? sim.pitch >= aircraft.staticPitch : sim.pitch <= aircraft.staticPitch;
    if (!reached) return;
    sim.pitch = aircraft.staticPitch;
    sim.bank = 0.0;
    step.pitch = step.bank = 0.0;
    aircraft.touchdownSettle = false;
    aircraft.landingStage = 0;
}

void LiveTraffic::onNearbyAircraft(const sim::SimNotice& notice) {
    LiveAircraft* aircraft = table_.findObject(notice.objectId);
    if (aircraft == nullptr) return;
    if (notice.key == 1 && !aircraft->onGroundMode && aircraft->takeOffCounter < 2 &&
        aircraft->state != AcState::RemovingFromSim && aircraft->phase != AcPhase::TakeOff)
        touchDown(*aircraft);
    aircraft->altitudeAboveGround = notice.second;
    if (aircraft->onGroundMode || aircraft->takeOffCounter > 1)
        aircraft->sim.altitude = notice.first + aircraft->staticCgHeight;
    aircraft->altitudeAtGroundReport = aircraft->sim.altitude;
}

void LiveTraffic::touchDown(LiveAircraft& aircraft) {
    if (aircraft.landingStage > 0 || aircraft.landing) {
        aircraft.touchdownSettle = true;
        aircraft.landingRoll = true;
        aircraft.landed = true;
        fastRequests_ = false;
        aircraft.touchdownHeading = aircraft.sim.heading;
        aircraft.landing = false;
        setSpoilers(aircraft, true);
        if (aircraft.aircraftClass != liveries::categoryLight && aircraft.objectId != 0)
            services_.simulator.writeLandingRoll(aircraft.objectId, 100.0,
                                                 aircraft.fsltl ? -100.0 : 100.0);
        const int settle = aircraft.handling.touchdownSettleTicks;
        SegmentIncrements& step = aircraft.increments;
        if (settle == 0) {
            services::log("{} ! onGround slots {:.1f}", description(aircraft), 0.0);
            aircraft.sim.pitch = aircraft.staticPitch;
            aircraft.sim.bank = 0.0;
            step.pitch = step.bank = 0.0;
        } else {
            step.pitch = (aircraft.staticPitch - aircraft.sim.pitch) / settle;
            step.bank = -aircraft.sim.bank / settle;
        }
        staticTwinChecks_.push_back(aircraft.hexid);
    }
    aircraft.onGroundMode = true;
    aircraft.increments.altitude = 0.0;
    aircraft.takeOffCounter = 1;
}

}  // namespace corv::live
