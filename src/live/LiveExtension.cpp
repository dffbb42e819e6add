#include <algorithm>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::live {

using namespace motion;

namespace {
// The speed an extrapolated ground point gets after one of speed g: a departure keeps
// accelerating into its climb, a landing roll keeps slowing down.
struct GroundBand {
    double knots;
    double feetPerMinute;
};
GroundBand departureBand(double g) {
    if (g <= 30.0) return {40.0, 0.0};
    if (g <= 60.0) return {80.0, 0.0};
    if (g <= 100.0) return {110.0, 0.0};
    if (g <= 140.0) return {150.0, 600.0};
    if (g <= 160.0) return {170.0, 1200.0};
    return {180.0, 2400.0};
}
GroundBand landingRollBand(double g) {
    if (g >= 140.0) return {100.0, 0.0};
    if (g >= 100.0) return {80.0, 0.0};
    if (g >= 80.0) return {60.0, 0.0};
    if (g >= 60.0) return {30.0, 0.0};
    return {20.0, 0.0};
}
}  // namespace

double LiveTraffic::radiusOf(const LiveAircraft& aircraft) const {
    const double halfSpan = services_.reference.halfWingspan(aircraft.identity.model);
    return halfSpan > 0.0 ? halfSpan
                          : services_.reference.categoryMeanHalfWingspan(aircraft.aircraftClass);
}

bool LiveTraffic::extendStream(LiveAircraft& aircraft) {
    const std::int32_t now = services_.run.liveTickCount;
    const bool holdingPhase =
        aircraft.phase == AcPhase::PushedBack ||
        (aircraft.phase == AcPhase::Taxi && !aircraft.departing && !aircraft.landingRoll);
    if (holdingPhase) {
        // Two aircraft holding on one taxiway spot would stand inside each other.
        const bool onAnother = std::any_of(
            table_.aircraft.begin(), table_.aircraft.end(), [&](const LiveAircraft& other) {
                return &other != &aircraft && other.state == AcState::Active &&
                       other.onGroundMode && other.phase == AcPhase::Taxi &&
                       common::distanceNm({aircraft.sim.latitude, aircraft.sim.longitude},
                                          {other.sim.latitude, other.sim.longitude}) <=
                           1.2 * (radiusOf(aircraft) + radiusOf(other));
            });
        if (onAnother) return false;
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
    if (aircraft.phase == AcPhase::Parking) arriveAtStand(aircraft);
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
    if (parked) {
        // Its reports have stopped: the stand is no longer known to be held.
        aircraft.reportingWhileParked = false;
        releaseStand(aircraft);
    }
    const bool airborne = !aircraft.onGroundMode;
    const double seconds = airborne ? 8.0 : 3.0;
    const bool standsStill = !airborne && !aircraft.departing && !aircraft.landingRoll;
    if (front.stationary || parked || standsStill) {
        next.groundSpeed = 0;
        next.stationary = true;
    } else {
        double speed = front.groundSpeed;
        if (airborne) {
            if (!(aircraft.landing && count < 4)) speed *= aircraft.landing ? 0.9 : 0.95;
        } else {
            const GroundBand band =
                aircraft.departing ? departureBand(speed) : landingRollBand(speed);
            speed = band.knots;
            next.verticalSpeed = band.feetPerMinute;
            next.altitude += band.feetPerMinute * seconds / 60.0;
        }
        speed = std::max(speed, 1.0);
        next.groundSpeed = speed;
        const common::GeoPoint moved =
            common::destinationPoint(at(front), aircraft.sim.heading, speed * seconds / 3600.0);
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
    next.dueTick =
        front.dueTick + (parked ? 604800 * 100 : static_cast<std::int32_t>(100 * seconds));
    aircraft.stream.push_back(next);
}

}  // namespace corv::live
