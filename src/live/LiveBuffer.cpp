#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/GreatCircle.hpp"
#include "live/AircraftTexts.hpp"
#include "live/CallsignAirline.hpp"
#include "live/InTrail.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/LiveryMatch.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::live {

namespace {
constexpr double nearUserOnGroundNm = 0.08099352051835854;  // 150 m
constexpr double userMovingKnots = 8.0;
constexpr double nearBlockedMetres = 500.0;
constexpr std::size_t busyCreations = 10;
constexpr double replaceMarginNm = 0.1;
constexpr std::size_t longestCallsign = 8;

bool takesOffOrLands(const std::deque<PositionBlock>& stream) {
    for (std::size_t i = 1; i < stream.size(); ++i) {
        if (stream[i].airborne != stream[i - 1].airborne) return true;
    }
    return false;
}

bool usableCallsign(const std::string& callsign) {
    return !callsign.empty() && callsign.size() <= longestCallsign && callsign != "@@@@@@@@";
}

double normalisedHeading(double heading) {
    constexpr double turn = 2.0 * std::numbers::pi;
    heading = std::fmod(heading, turn);
    if (heading < 0) heading += turn;
    return heading > turn - 1e-12 ? 0.0 : heading;
}

}  // namespace

void LiveTraffic::setPhase(LiveAircraft& aircraft, AcPhase phase) {
    if (aircraft.phase == phase) return;
    aircraft.previousPhase = aircraft.phase;
    aircraft.phase = phase;
}

void LiveTraffic::updateBuffered(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    const std::int32_t now = services_.run.liveTickCount;
    if (stream.empty()) {
        aircraft.erase = true;
        return;
    }
    if (stream.front().dueTick > now) return;
    if (stream.size() == 1) {  // nothing newer came in 30 seconds
        stream.pop_front();
        aircraft.erase = true;
        return;
    }
    if (aircraft.callsign.ends_with('_') && table_.ghosts.contains(aircraft.callsign)) {
        aircraft.erase = true;
        return;
    }
    // Not spawned in the middle of a take-off or landing seen coming.
    if (takesOffOrLands(stream) || nearUserBlocks(aircraft, services_.simulator.userAircraft()) ||
        (liveCreations_.size() > busyCreations && aircraft.phase == AcPhase::Birth)) {
        stream.pop_front();
        return;
    }
    if (!roomForOneMore(stream.front())) {
        aircraft.erase = true;
        return;
    }
    const std::string blocked = settings::BLOCK_CALLSIGN.value();
    if (!blocked.empty() && aircraft.callsign == blocked) {
        aircraft.erase = true;
        return;
    }
    if (!completeIdentity(aircraft)) {
        aircraft.erase = true;
        return;
    }
    if (table_.noLivery.contains(
            noLiveryKey(aircraft.identity, aircraft.registration, services_.reference)) ||
        (aircraft.callsign.ends_with('_') && table_.baseCallsignLive(aircraft.callsign))) {
        aircraft.erase = true;
        return;
    }
    spawnLiveAc(aircraft);
}

bool LiveTraffic::nearUserBlocks(LiveAircraft& aircraft, const sim::UserAircraftState& user) {
    const PositionBlock& front = aircraft.stream.front();
    const common::GeoPoint userAt{user.latitude, user.longitude};
    const double distance = common::distanceNm(userAt, {front.latitude, front.longitude});
    if (user.onGround) {
        if (aircraft.blockedNearUser &&
            (user.groundVelocity > userMovingKnots ||
             (!front.airborne &&
              (front.groundSpeed > userMovingKnots || distance * 1852.0 <= nearBlockedMetres)))) {
            return true;
        }
        return !front.airborne && settings::COLLISION_USER_GND.value() &&
               distance <= nearUserOnGroundNm;
    }
    if (!settings::COLLISION_USER_AIR.value()) return false;
    // Never drawn yet: the front point stands in for the simulator position.
    aircraft.sim.latitude = front.latitude;
    aircraft.sim.longitude = front.longitude;
    SimPosition probe = aircraft.sim;
    probe.altitude = front.altitude;
    probe.heading = front.track * std::numbers::pi / 180.0;
    if (inTrailOfUser(probe, user, wideInTrail)) {
        removeFromSim(aircraft);
        aircraft.blockedNearUser = true;
    }
    return aircraft.blockedNearUser;
}

bool LiveTraffic::roomForOneMore(const PositionBlock& front) {
    const auto maximum = static_cast<std::size_t>(settings::MAX_LIVE_SEL.value());
    if (maximum == 0) return false;
    const auto active = static_cast<std::size_t>(
        std::count_if(table_.aircraft.begin(), table_.aircraft.end(),
                      [](const LiveAircraft& ac) { return ac.state == AcState::Active; }));
    if (spawnStack_.size() + active + liveCreations_.size() < maximum) return true;
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    const double distance =
        common::distanceNm({user.latitude, user.longitude}, {front.latitude, front.longitude});
    return removeFarthest(distance);
}

bool LiveTraffic::completeIdentity(LiveAircraft& aircraft) {
    if (!aircraft.identity.fromRegistration) {
        if (!aircraft.registration.empty()) {
            if (const auto* record = services_.reference.dbaseRecord(aircraft.registration)) {
                aircraft.identity = {record->airline, record->operatorIndex, record->model,
                                     record->cargo, true};
            }
        }
        if (aircraft.identity.airline == 0) {
            aircraft.identity.airline = services_.reference.internAirline(
                airlineDesignatorOf(aircraft.callsign).value_or("PVT"));
        }
    }
    if (!usableCallsign(aircraft.callsign)) {
        aircraft.callsign = aircraft.registration;
        aircraft.callsignFromRegistration = true;
    }
    return usableCallsign(aircraft.callsign);
}

bool LiveTraffic::findLivery(LiveAircraft& aircraft) {
    if (const auto cached = liveryCache_.find(aircraft.hexid); cached != liveryCache_.end()) {
        aircraft.liveryTitle = cached->second;
        return true;
    }
    const liveries::MatchingIndexes* indexes = services_.liveries.indexes();
    if (indexes == nullptr) return false;
    liveries::MatchAircraft match;
    match.key = aircraft.identity;
    match.category = aircraft.aircraftClass;
    match.registration = aircraft.registration;
    match.callsign = aircraft.callsign;
    match.description = description(aircraft);
    const liveries::MatchContext context{
        *indexes,
        services_.reference,
        services_.liveries.runState(),
        {settings::MATCHING_DEPTH.value(), settings::RANDOM.value()},
        services_.random};
    if (!liveries::matchLivery(match, context)) {
        if (!aircraft.registration.empty()) {
            services_.liveries.runState().noMatch.insert(match.description);
        }
        return false;
    }
    aircraft.liveryTitle = match.title;
    aircraft.fsltl = match.fsltl;
    liveryCache_[aircraft.hexid] = match.title;
    return true;
}

void LiveTraffic::spawnLiveAc(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    if (stream.size() < 2) {
        services::log("{} sz:{}", "spawnLiveAc", stream.size());
        return;
    }
    stream[0].stationary = stream[1].stationary;
    if (stream[0].stationary) {
        stream[0].groundSpeed = 0;
        stream[1].groundSpeed = 0;
        if (stream.size() > 2 && stream[2].stationary) stream[2].groundSpeed = 0;
    }
    if (aircraft.phase == AcPhase::Birth) {
        if (aircraft.liveryTitle.empty() && !findLivery(aircraft)) {
            if (!aircraft.registration.empty()) {
                table_.noLivery.insert(
                    noLiveryKey(aircraft.identity, aircraft.registration, services_.reference));
            }
            aircraft.erase = true;
            return;
        }
        if (!stream.front().airborne) {
            if (spawnAtStand(aircraft)) {
                setPhase(aircraft, AcPhase::Parked);
            } else if (aircraft.erase) {
                return;
            } else if (stream[1].stationary) {
                // Standing still off any stand: it is created once it moves.
                stream.pop_front();
                return;
            } else {
                setPhase(aircraft, AcPhase::Taxi);
            }
        } else {
            setPhase(aircraft, AcPhase::Flying);
        }
    }
    startWhereDueAtActivation(aircraft);
    setInitialSimPosition(aircraft);
    aircraft.blockedNearUser = false;
    aircraft.state = AcState::Adding2Sim;
    spawnStack_.push_back(aircraft.hexid);
    staticTwinChecks_.push_back(aircraft.hexid);
    if (!aircraft.callsign.ends_with('_')) {
        IntakeContext context = intakeContext();
        removeGhostOf(aircraft.callsign, context);
    }
}

// A flying aircraft appears only after its creation request was handed over (one every 50
// ticks), the simulator created it and 200 ticks of activation passed. Created where its points
// say it will be by then, it starts on time instead of two or three seconds behind.
void LiveTraffic::startWhereDueAtActivation(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    if (aircraft.phase != AcPhase::Flying || aircraft.fixedHeading || stream.size() < 2) return;
    const auto waiting = static_cast<std::int32_t>(liveCreations_.size() + spawnStack_.size() + 1);
    const std::int32_t activeAt =
        services_.run.liveTickCount + activationTicks + creationIntervalTicks * waiting;
    while (stream.size() > 2 && stream[1].dueTick <= activeAt && stream[1].airborne &&
           !stream[1].stationary)
        stream.pop_front();
    const PositionBlock& from = stream[0];
    const PositionBlock& to = stream[1];
    if (!from.airborne || !to.airborne || to.stationary || activeAt <= from.dueTick) return;
    const double share = std::min(
        1.0, static_cast<double>(activeAt - from.dueTick) / std::max(1, to.dueTick - from.dueTick));
    PositionBlock start = from;
    start.latitude += (to.latitude - from.latitude) * share;
    start.longitude += (to.longitude - from.longitude) * share;
    start.altitude += (to.altitude - from.altitude) * share;
    start.dueTick = std::min(activeAt, to.dueTick - 1);
    stream[0] = start;
}

void LiveTraffic::setInitialSimPosition(LiveAircraft& aircraft) {
    const PositionBlock& front = aircraft.stream[0];
    const PositionBlock& next = aircraft.stream[1];
    SimPosition& at = aircraft.sim;
    at.latitude = front.latitude;
    at.longitude = front.longitude;
    at.altitude = front.altitude;
    at.trueAirspeed = front.trueAirspeed;
    at.verticalSpeed = front.verticalSpeed;
    at.bank = front.bank.value_or(0.0);
    constexpr double degrees = std::numbers::pi / 180.0;
    if (!front.airborne) {
        at.pitch = 0.6 * degrees;
    } else {
        double v = std::clamp(front.verticalSpeed, -3000.0, 2400.0);
        if (v < 0) v /= 2.0;
        at.pitch = -3.0 * degrees - (v / 600.0) * 2.2 * degrees;
    }
    double heading = 0.0;
    if (aircraft.fixedHeading) {
        heading = *aircraft.fixedHeading;
    } else if (next.stationary) {
        heading = front.track * degrees;
    } else {
        heading = common::initialBearing({front.latitude, front.longitude},
                                         {next.latitude, next.longitude});
    }
    at.heading = normalisedHeading(heading);
}

}  // namespace corv::live
