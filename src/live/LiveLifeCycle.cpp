#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/GreatCircle.hpp"
#include "live/AircraftTexts.hpp"
#include "live/InTrail.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/CreationFailure.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/SimIds.hpp"

namespace corv::live {

namespace {
constexpr double degrees = std::numbers::pi / 180.0;
constexpr sim::ObjectId lowestAiObject = 3;
constexpr double feetPerNm = 6076.11549;
}  // namespace

void LiveTraffic::removeFromSim(LiveAircraft& aircraft) {
    // Whatever takes it away, a parked aircraft leaves its stand free for the next one.
    if (aircraft.state != AcState::RemovingFromSim && aircraft.phase == AcPhase::Parked &&
        !aircraft.startMoving)
        releaseStand(aircraft);
    if (aircraft.state == AcState::Buffer) {
        aircraft.erase = true;
        return;
    }
    if (aircraft.removeWhenCreated) return;
    if (aircraft.state == AcState::Adding2Sim) {
        // By its key: two aircraft may fly under one callsign.
        const auto request = std::find_if(
            liveCreations_.begin(), liveCreations_.end(), [&](const sim::CreationRequest& r) {
                return r.key == static_cast<sim::AircraftKey>(aircraft.hexid);
            });
        if (request != liveCreations_.end()) {
            liveCreations_.erase(request);
            aircraft.withdrawn = true;
        } else if (const auto stacked =
                       std::find(spawnStack_.begin(), spawnStack_.end(), aircraft.hexid);
                   stacked != spawnStack_.end()) {
            spawnStack_.erase(stacked);
            aircraft.withdrawn = true;
        } else {
            aircraft.removeWhenCreated = true;
        }
        return;
    }
    aircraft.state = AcState::RemovingFromSim;
    if (aircraft.objectId == 0) {
        services::log("{} removing act {}, with objectid=0 ?", "removeAircraftFromSim",
                      description(aircraft));
        aircraft.erase = true;
        return;
    }
    removals_.push_back(aircraft.objectId);
}

void LiveTraffic::liveryRespawn(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    const SimPosition& at = aircraft.sim;
    if (aircraft.phase == AcPhase::Parked) {
        if (!stream.empty()) {
            stream.resize(1);
            stream.front().stationary = true;
            stream.front().track = at.heading / degrees;
        }
    } else {
        PositionBlock here = stream.empty() ? PositionBlock{} : stream.front();
        const bool same = !stream.empty() && std::fabs(here.latitude - at.latitude) < 1e-8 &&
                          std::fabs(here.longitude - at.longitude) < 1e-8;
        here.latitude = at.latitude;
        here.longitude = at.longitude;
        here.altitude = at.altitude;
        here.bank = at.bank;
        here.stationary = same;
        here.dueTick = services_.run.liveTickCount + 1;
        stream.push_front(here);
    }
    aircraft.state = AcState::LiveryRespawn;
    aircraft.fixedHeading = at.heading;
    if (aircraft.objectId == 0) {
        services::log("{} removing act {} with objectid=0 ?", "liveryRespawn",
                      description(aircraft));
        aircraft.erase = true;
        return;
    }
    removals_.push_back(aircraft.objectId);
}

void LiveTraffic::processSimNotices() {
    for (const sim::SimNotice& notice : services_.simulator.notices().takeAll()) {
        switch (notice.kind) {
            case sim::SimNoticeKind::LiveSpawned:
                onSpawned(notice);
                break;
            case sim::SimNoticeKind::Removed:
                if (services_.statics == nullptr || !services_.statics->onNotice(notice))
                    onRemoved(notice);
                break;
            case sim::SimNoticeKind::CreateFailed:
                if (sim::isLiveKey(notice.key)) {
                    onCreateFailed(notice);
                } else if (services_.statics != nullptr) {
                    services_.statics->onNotice(notice);
                }
                break;
            case sim::SimNoticeKind::StaticCg:
                onStaticCg(notice);
                break;
            case sim::SimNoticeKind::NearbyAircraft:
                onNearbyAircraft(notice);
                break;
            case sim::SimNoticeKind::StaticSpawned:
                if (services_.statics != nullptr) services_.statics->onNotice(notice);
                break;
        }
    }
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.activationTicks >= 0) countActivation(aircraft);
    }
}

void LiveTraffic::onSpawned(const sim::SimNotice& notice) {
    LiveAircraft* aircraft = table_.findHexid(static_cast<std::uint32_t>(notice.key));
    if (aircraft == nullptr || notice.objectId < lowestAiObject) return;
    aircraft->objectId = notice.objectId;
    aircraft->altitudeAboveGround = notice.second;
    aircraft->altitudeAtGroundReport = aircraft->sim.altitude;
    if (!aircraft->stream.empty() && !aircraft->stream.back().airborne)
        aircraft->onGroundMode = true;
    if (!aircraft->origin.empty() && !aircraft->destination.empty() &&
        !services_.simulator.setFlightPlan(aircraft->objectId, aircraft->origin.str(),
                                           aircraft->destination.str(), aircraft->aircraftClass,
                                           description(*aircraft))) {
        services::log("{} creating a flight plan failed", description(*aircraft));
    }
    services_.simulator.requestStaticCg(aircraft->objectId);
    aircraft->activationTicks = 0;
}

void LiveTraffic::countActivation(LiveAircraft& aircraft) {
    ++aircraft.activationTicks;
    if (aircraft.activationTicks == 50 || aircraft.activationTicks == 100)
        sendEvent(aircraft, sim::event::allLightsToggle, 0);
    if (aircraft.activationTicks < activationTicks) return;
    aircraft.activationTicks = -1;
    activate(aircraft);
}

void LiveTraffic::activate(LiveAircraft& aircraft) {
    aircraft.state = AcState::Active;
    const bool rotorcraft = aircraft.aircraftClass == liveries::categoryRotorcraft;
    const bool onGround = !aircraft.stream.empty() && !aircraft.stream.back().airborne;
    if (onGround) {
        const bool parked = aircraft.phase == AcPhase::Parked;
        sendEvent(aircraft, parked ? sim::event::engineAutoShutdown : sim::event::engineAutoStart,
                  0);
        const bool nav = parked ? settings::NAV_LIGHTS_WHILE_PARKED.value() : true;
        setLights(aircraft,
                  {nav, !parked, false, aircraft.phase == AcPhase::Taxi, false, true, true});
        setSpoilers(aircraft, false);
        setThrottle(aircraft, rotorcraft ? 4 : 0);
        setFlaps(aircraft, aircraft.phase == AcPhase::Taxi ? 1 : 0);
    } else {
        sendEvent(aircraft, sim::event::engineAutoStart, 0);
        const bool low = aircraft.sim.altitude <= 10000.0;
        setLights(aircraft,
                  {true, true, low, false, true, low, aircraft.altitudeAboveGround >= 2000.0});
        setSpoilers(aircraft, false);
    }
    if (aircraft.removeWhenCreated) {
        aircraft.removeWhenCreated = false;
        removeFromSim(aircraft);
    }
}

void LiveTraffic::onRemoved(const sim::SimNotice& notice) {
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.objectId != notice.objectId || aircraft.objectId == 0) continue;
        if (aircraft.state == AcState::LiveryRespawn) {
            aircraft.state = AcState::Buffer;
            aircraft.throttleIndex = 5;
            aircraft.flapsIndex = 4;
            aircraft.objectId = 0;
            aircraft.liveryTitle = {};
            liveryCache_.erase(aircraft.hexid);
            aircraft.phase = AcPhase::Birth;
        } else {
            aircraft.erase = true;
        }
        return;
    }
}

void LiveTraffic::onCreateFailed(const sim::SimNotice& notice) {
    LiveAircraft* aircraft = table_.findHexid(static_cast<std::uint32_t>(notice.key));
    if (aircraft == nullptr) return;
    aircraft->erase = true;
    liveryCache_.erase(aircraft->hexid);
    liveries::recordCreationFailure(
        services_.liveries.runState(), aircraft->callsign, std::string(aircraft->liveryTitle),
        std::string(services_.reference.modelText(aircraft->identity.model)),
        std::string(services_.reference.airlineText(aircraft->identity.airline)),
        services_.run.stopOrClosed(), services_.messages);
}

void LiveTraffic::onStaticCg(const sim::SimNotice& notice) {
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.objectId != notice.objectId) continue;
        if (notice.first >= 1.0 && notice.first <= 35.0) aircraft.staticCgHeight = notice.first;
        const double pitch = notice.second;
        aircraft.staticPitch =
            pitch <= -1.0 * degrees || pitch > 0.04363323129985824 ? 0.7 * degrees : pitch;
        return;
    }
}

void LiveTraffic::checkUserAirCollisions() {
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    if (user.onGround || !settings::COLLISION_USER_AIR.value()) return;
    const common::GeoPoint userAt{user.latitude, user.longitude};
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state != AcState::Active) continue;
        // Low over the ground the user may be landing: nothing may stand on the path ahead.
        const common::GeoPoint at{aircraft.sim.latitude, aircraft.sim.longitude};
        const double distance = common::distanceNm(userAt, at);
        const bool onThePath =
            user.altitudeAboveGround < 500.0 && aircraft.onGroundMode && distance <= 1.0 &&
            std::fabs(std::sin(common::initialBearing(userAt, at) - user.heading)) * distance *
                    feetPerNm <=
                50.0;
        if (onThePath || inTrailOfUser(aircraft.sim, user, normalInTrail)) {
            removeFromSim(aircraft);
            return;  // one a second
        }
    }
}

void LiveTraffic::checkUserGroundCollisions() {
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    const common::GeoPoint userAt{user.latitude, user.longitude};
    const double userRadius = services_.simulator.userHalfWingspan();
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state != AcState::Active || !aircraft.onGroundMode) continue;
        const double distance =
            common::distanceNm(userAt, {aircraft.sim.latitude, aircraft.sim.longitude});
        if (distance <= (userRadius + radiusOf(aircraft)) * 1.15) {
            removeFromSim(aircraft);
            return;  // one a second
        }
    }
}

void LiveTraffic::sendEvent(const LiveAircraft& aircraft, sim::ClientEventId event,
                            std::uint32_t data) {
    if (aircraft.objectId != 0)
        services_.simulator.queues().queueEvent(aircraft.objectId, event, data);
}

void LiveTraffic::setFlaps(LiveAircraft& aircraft, int index) {
    static constexpr std::uint32_t positions[] = {0, 3072, 10240, 16383, 0};
    if (index < 0 || index >= 5) {
        services::log("gf_setFlaps: invalid flaps index");
        return;
    }
    if (index == aircraft.flapsIndex) return;
    aircraft.flapsIndex = index;
    if (aircraft.aircraftClass != liveries::categoryRotorcraft)
        sendEvent(aircraft, sim::event::flapsSet, positions[index]);
}

void LiveTraffic::setThrottle(LiveAircraft& aircraft, int index) {
    static constexpr std::uint32_t positions[] = {0, 4914, 8191, 11468, 16383};
    if (index < 0 || index >= 5 || index == aircraft.throttleIndex) return;
    aircraft.throttleIndex = index;
    sendEvent(aircraft, sim::event::throttleSet, positions[index]);
}

void LiveTraffic::setGear(const LiveAircraft& aircraft, bool down) {
    if (aircraft.aircraftClass != liveries::categoryRotorcraft)
        sendEvent(aircraft, sim::event::gearSet, down ? 1 : 0);
}

void LiveTraffic::setSpoilers(const LiveAircraft& aircraft, bool on) {
    if (aircraft.aircraftClass != liveries::categoryRotorcraft)
        sendEvent(aircraft, sim::event::spoilersSet, on ? 16383 : 0);
}

void LiveTraffic::setLights(const LiveAircraft& aircraft, const Lights& lights) {
    sendEvent(aircraft, sim::event::navLightsSet, lights.nav ? 1 : 0);
    sendEvent(aircraft, sim::event::beaconLightsSet, lights.beacon ? 1 : 0);
    sendEvent(aircraft, sim::event::landingLightsSet, lights.landing ? 1 : 0);
    sendEvent(aircraft, sim::event::taxiLightsSet, lights.taxi ? 1 : 0);
    sendEvent(aircraft, sim::event::strobesSet, lights.strobes ? 1 : 0);
    sendEvent(aircraft, sim::event::logoLightsSet, lights.logo ? 1 : 0);
    sendEvent(aircraft, sim::event::cabinLightsSet, lights.cabin ? 1 : 0);
}

}  // namespace corv::live
