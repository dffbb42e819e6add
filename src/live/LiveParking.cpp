#include <algorithm>
#include <cmath>

#include "airports/TimeKey.hpp"
#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/RandomSource.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/SimIds.hpp"

// Live aircraft on the stands of the park airport: created at the stand they stand on, driven
// onto the stand they stop at, and watched until they leave it.
namespace corv::live {

using namespace motion;

namespace {
constexpr double nearAirportNm = 5.0;
constexpr double spawnSearchNm = 0.029697624190064796;    // 55 m
constexpr double movingAwayNm = 0.018898488120950324;     // 35 m
constexpr double parkSearchNm = 0.029697624190064796;     // 55 m
constexpr double stopSearchNm = 0.010799136069114472;     // 20 m
constexpr double onStandNm = 0.0010799136069114472;       // 2 m
constexpr double atStandNm = 0.0458963282937365;          // 85 m
constexpr double leftStandNm = 0.10799136069114472;       // 200 m
constexpr double growthStepNm = 0.0016198704103671706;    // 3 m
constexpr double forcedShrinkNm = 0.0005399568034557236;  // 1 m
constexpr double takenKnots = 5.0;

bool isGhostOf(const std::string& ghost, const std::string& of) {
    return ghost == of + "_";
}
bool endsInUnderscore(const std::string& callsign) {
    return !callsign.empty() && callsign.back() == '_';
}
}  // namespace

bool LiveTraffic::standsLoaded() const {
    const airports::LoadedAirport* airport = services_.airport;
    return airport != nullptr && airport->loaded && !airport->stands.empty() &&
           parkAirport_.has_value();
}

airports::Stand* LiveTraffic::standByNumber(std::int32_t number) const {
    if (services_.airport == nullptr) return nullptr;
    auto& stands = services_.airport->stands;
    if (number < 1 || number > static_cast<std::int32_t>(stands.size())) return nullptr;
    return &stands[static_cast<std::size_t>(number - 1)];
}

// The stand for an aircraft at the position, never the user's or the one reserved for the user.
std::optional<airports::FoundStand> LiveTraffic::standFor(LiveAircraft& aircraft,
                                                          const common::GeoPoint& position,
                                                          double searchNm, bool learned) {
    const airports::StandSeeker seeker{aircraft.aircraftClass, radiusOf(aircraft),
                                       aircraft.callsign, aircraft.identity};
    const auto found =
        airports::findStandFor(services_.airport->stands, position, searchNm, learned, seeker);
    if (!found) return std::nullopt;
    airports::Stand& stand = *standByNumber(found->number);
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    const std::string userStand =
        user.onGround ? airports::standNear(services_.airport->stands,
                                            {user.latitude, user.longitude}, spawnSearchNm)
                      : std::string{};
    if (stand.id == services_.airport->reservedStandId || stand.id == userStand)
        return std::nullopt;
    if (found->forced) {
        // It stands there all the same: the stand is bigger than the file says.
        stand.radius = seeker.radiusNm - forcedShrinkNm;
        stand.radiusChanged = true;
        ++services_.airport->updateCount;
    }
    return found;
}

bool LiveTraffic::spawnAtStand(LiveAircraft& aircraft) {
    if (!standsLoaded()) return false;
    auto& stream = aircraft.stream;
    PositionBlock& front = stream.front();
    if (common::distanceNm(at(front), parkAirport_->position) > nearAirportNm) return false;
    common::GeoPoint position = at(front);
    if (!front.stationary) {
        if (stream[1].groundSpeed > takenKnots ||
            common::distanceNm(at(stream.back()), at(front)) > movingAwayNm) {
            return false;
        }
        position = at(stream.back());
    }
    const auto found = standFor(aircraft, position, spawnSearchNm, front.stationary);
    if (!found) return false;
    airports::Stand& stand = *standByNumber(found->number);
    if (!claimStand(aircraft, stand)) {
        aircraft.erase = true;
        return false;
    }
    takeStand(aircraft, stand, position);
    front.latitude = stand.latitude;
    front.longitude = stand.longitude;
    front.track = stand.heading / degrees;
    front.stationary = true;
    front.groundSpeed = 0;
    // It stands there: the reports that follow only tell whether it leaves.
    PositionBlock still = front;
    still.dueTick = front.dueTick + 100;
    stream.resize(1);
    stream.push_back(still);
    aircraft.parkedSinceTick = services_.run.liveTickCount;
    aircraft.parkSlot = services_.timeKeyNow.load();
    stand.liveClaimed = true;
    lf_addRealStandOption(stand.number, aircraft, StandUse::Created);
    checkParkLimit(1);
    return true;
}

// Who gives way when a live aircraft wants a stand another one holds.
bool LiveTraffic::claimStand(LiveAircraft& aircraft, const airports::Stand& stand) {
    for (LiveAircraft& other : table_.aircraft) {
        if (&other == &aircraft || other.standNumber != stand.number || other.standId.empty())
            continue;
        const bool holds = other.state == AcState::Active &&
                           (other.phase == AcPhase::Parked || other.phase == AcPhase::PushingBack ||
                            other.phase == AcPhase::PushedBack);
        if (!holds) break;
        if (other.callsign == aircraft.callsign) {
            services::log("{:8}: {:8} ac with same callsign {} wants it, remove existing ... ",
                          stand.id, other.callsign, aircraft.callsign);
        } else if (isGhostOf(aircraft.callsign, other.callsign)) {
            return false;
        } else if (isGhostOf(other.callsign, aircraft.callsign) ||
                   (endsInUnderscore(other.callsign) && !endsInUnderscore(aircraft.callsign))) {
            services::log("{:8}: {:8} ghost, replace by {}", stand.id, other.callsign,
                          aircraft.callsign);
        } else if ((endsInUnderscore(aircraft.callsign) && !endsInUnderscore(other.callsign)) ||
                   other.reportingWhileParked) {
            return false;
        } else {
            services::log("{:8}: {:8} removed because another live {} wants the stand ...",
                          stand.id, other.callsign, aircraft.callsign);
        }
        removeFromSim(other);
        break;
    }
    for (const LiveAircraft* other : parkedBeside(aircraft, stand)) {
        if (other->callsign != aircraft.callsign) return false;
    }
    if (services_.statics != nullptr)
        services_.statics->makeWayFor(
            stand, {aircraft.callsign, aircraft.registration, radiusOf(aircraft)});
    return true;
}

// Parked aircraft on stands beside the one taken that the newcomer would touch leave.
void LiveTraffic::clearNeighbours(const LiveAircraft& aircraft, const airports::Stand& stand) {
    for (LiveAircraft* other : parkedBeside(aircraft, stand)) {
        services::log(
            "{:8}: {:8} removed by parking {} at adjacent and possibly colliding stand {}",
            other->standId, other->callsign, aircraft.callsign, stand.id);
        removeFromSim(*other);
    }
}

// Active aircraft parked or pushing back on a stand beside this one, close enough to touch an
// aircraft of this one's size.
std::vector<LiveAircraft*> LiveTraffic::parkedBeside(const LiveAircraft& aircraft,
                                                     const airports::Stand& stand) {
    std::vector<LiveAircraft*> touching;
    for (const std::int32_t number : stand.neighbours) {
        const airports::Stand* beside = standByNumber(number);
        if (beside == nullptr) continue;
        const double apart = common::distanceNm({beside->latitude, beside->longitude},
                                                {stand.latitude, stand.longitude});
        for (LiveAircraft& other : table_.aircraft) {
            if (&other == &aircraft || other.standNumber != number ||
                other.state != AcState::Active ||
                (other.phase != AcPhase::Parked && other.phase != AcPhase::PushingBack))
                continue;
            if (apart < 1.1 * (radiusOf(other) + radiusOf(aircraft))) touching.push_back(&other);
        }
    }
    return touching;
}

void LiveTraffic::takeStand(LiveAircraft& aircraft, airports::Stand& stand,
                            common::GeoPoint standingAt) {
    aircraft.standId = stand.id;
    aircraft.standNumber = stand.number;
    aircraft.standLatitude = stand.latitude;
    aircraft.standLongitude = stand.longitude;
    aircraft.standHeading = stand.heading;
    aircraft.cargoStand = stand.cargo;
    aircraft.startMoving = false;
    aircraft.firstStandDistance = common::distanceNm({stand.latitude, stand.longitude}, standingAt);
    aircraft.largestStandDistance = aircraft.firstStandDistance;
    aircraft.growingDistances = 0;
    aircraft.setOffTick.reset();
}

void LiveTraffic::releaseStand(LiveAircraft& aircraft) {
    if (airports::Stand* stand = standByNumber(aircraft.standNumber);
        stand != nullptr && stand->id == aircraft.standId) {
        stand->liveClaimed = false;
    }
}

void LiveTraffic::try2Park(LiveAircraft& aircraft, bool learned) {
    auto& stream = aircraft.stream;
    if (stream.empty()) {
        services::log("{} empty sz?", "try2Park");
        return;
    }
    const common::GeoPoint newest = at(stream.back());
    if (std::fabs(newest.latitude - aircraft.lastParkTry.latitude) <= samePosition &&
        std::fabs(newest.longitude - aircraft.lastParkTry.longitude) <= samePosition) {
        return;
    }
    aircraft.lastParkTry = newest;
    const auto found = standFor(aircraft, newest, learned ? parkSearchNm : stopSearchNm, learned);
    if (!found) return;
    airports::Stand& stand = *standByNumber(found->number);
    for (LiveAircraft& other : table_.aircraft) {
        if (&other == &aircraft || other.standNumber != stand.number || other.standId.empty() ||
            other.state != AcState::Active || other.phase != AcPhase::Parked)
            continue;
        services::log("{:8}: {:8} removed, {} wants to park there", stand.id, other.callsign,
                      aircraft.callsign);
        removeFromSim(other);
    }
    clearNeighbours(aircraft, stand);
    if (services_.statics != nullptr)
        services_.statics->makeWayFor(
            stand, {aircraft.callsign, aircraft.registration, radiusOf(aircraft)});
    takeStand(aircraft, stand, at(stream.back()));
    stream.resize(1);
    setPhase(aircraft, AcPhase::Parking);
    drive2Stand(aircraft);
}

// The last metres onto the stand, nose along the stand's heading, at walking pace.
void LiveTraffic::drive2Stand(LiveAircraft& aircraft) {
    auto& stream = aircraft.stream;
    if (stream.empty()) {
        services::log("{} empty sz?", "drive2Stand");
        return;
    }
    const PositionBlock& newest = stream.back();
    const common::GeoPoint stand{aircraft.standLatitude, aircraft.standLongitude};
    const StandApproach approach = standApproach(aircraft, at(newest));
    const std::vector<common::GeoPoint>& path = approach.corners;
    const double distance = approach.distanceNm;
    const double knots = approach.knots;
    stream.front().groundSpeed = knots;
    PositionBlock onStand = newest;
    onStand.latitude = stand.latitude;
    onStand.longitude = stand.longitude;
    onStand.altitude = aircraft.sim.altitude;
    onStand.groundSpeed = knots;
    onStand.track = aircraft.standHeading / degrees;
    const std::int32_t start = stream.front().dueTick;
    onStand.dueTick =
        start + std::max(100, toTicks(distance * ticksPerHour / std::max(knots, 1.0)));
    onStand.stationary = distance * 1852.0 < 0.01;
    onStand.airborne = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        PositionBlock on = onStand;
        on.latitude = path[i].latitude;
        on.longitude = path[i].longitude;
        on.dueTick = start + static_cast<std::int32_t>((onStand.dueTick - start) *
                                                       static_cast<std::int64_t>(i + 1) /
                                                       static_cast<std::int64_t>(path.size() + 1));
        stream.push_back(on);
    }
    PositionBlock rest = onStand;
    rest.groundSpeed = 0;
    rest.stationary = true;
    rest.dueTick = onStand.dueTick + 50;
    stream.push_back(onStand);
    stream.push_back(rest);
    aircraft.targetHeading = aircraft.standHeading;
    if (aircraft.extensionCount > 0) endExtension(aircraft);
}

void LiveTraffic::arriveAtStand(LiveAircraft& aircraft) {
    airports::Stand* stand = standByNumber(aircraft.standNumber);
    if (stand == nullptr || stand->liveClaimed) {
        // Another aircraft arrived first: this one leaves when its extension ends.
        aircraft.extensionCount = 1;
        return;
    }
    if (common::distanceNm({aircraft.sim.latitude, aircraft.sim.longitude},
                           {stand->latitude, stand->longitude}) > onStandNm) {
        setPhase(aircraft, AcPhase::Taxi);
        return;
    }
    setPhase(aircraft, AcPhase::Parked);
    stand->liveClaimed = true;
    if (aircraft.towed) services::log("          towed aircraft {} parks", aircraft.callsign);
    aircraft.stream.front().stationary = true;
    aircraft.stream.front().groundSpeed = 0;
    aircraft.parkedSinceTick = services_.run.liveTickCount;
    aircraft.parkSlot = services_.timeKeyNow.load();
    setParkedSystems(aircraft);
    services::log("{:8}: {:8} arrived at stand", stand->id, aircraft.callsign);
    staticTwinChecks_.push_back(aircraft.hexid);
    lf_addRealStandOption(stand->number, aircraft, StandUse::Arrived);
    checkParkLimit(0);
}

void LiveTraffic::setParkedSystems(LiveAircraft& aircraft) {
    setThrottle(aircraft, 0);
    setFlaps(aircraft, 0);
    sendEvent(aircraft, sim::event::engineAutoShutdown, 0);
    const bool cabin =
        !aircraft.cargoStand && (!settings::RANDOM.value() || services_.random.below(10) < 9);
    setLights(aircraft,
              {settings::NAV_LIGHTS_WHILE_PARKED.value(), false, false, false, false, true, cabin});
}

// The nav lights of the parked aircraft, static and live, follow the setting at once.
void LiveTraffic::setParkedLights(bool on) {
    for (const LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state == AcState::Active && aircraft.phase == AcPhase::Parked &&
            !aircraft.standId.empty() && !aircraft.startMoving)
            sendEvent(aircraft, sim::event::navLightsSet, on ? 1 : 0);
    }
    if (services_.statics == nullptr) return;
    for (const parking::StaticView& view : services_.statics->staticAircraft()) {
        if (view.active)
            services_.simulator.queues().queueEvent(view.objectId, sim::event::navLightsSet,
                                                    on ? 1 : 0);
    }
}

bool LiveTraffic::watchStand(LiveAircraft& aircraft, PositionBlock& point) {
    aircraft.reportingWhileParked = true;
    // Already leaving, once the first moving reports are due: the way it goes.
    if (aircraft.startMoving) return true;
    const double distance =
        common::distanceNm({aircraft.standLatitude, aircraft.standLongitude}, at(point));
    const double stillThere =
        aircraft.previousPhase == AcPhase::Parking ? 2.0 * atStandNm : atStandNm;
    if (distance <= stillThere) {
        aircraft.parkedSinceTick = services_.run.liveTickCount;
        if (distance >= aircraft.largestStandDistance + growthStepNm) {
            aircraft.largestStandDistance = distance;
            if (aircraft.growingDistances++ == 0) {
                // Reports can be far apart: it set off as long before as the way out took.
                const double knots = std::max(aircraft.handling.groundKnots, 1.0);
                aircraft.setOffTick =
                    point.dueTick -
                    toTicks((distance - aircraft.firstStandDistance) * ticksPerHour / knots);
            }
        } else if (distance <= aircraft.largestStandDistance - growthStepNm) {
            aircraft.growingDistances = 0;
            aircraft.setOffTick.reset();
        }
        const double moved = distance - aircraft.firstStandDistance;
        const double radius = radiusOf(aircraft);
        if ((aircraft.growingDistances > 2 && moved >= radius / 2.0) || moved > radius) {
            startMovingFromStand(aircraft, point);
            return true;
        }
        return false;
    }
    if (aircraft.phase == AcPhase::Parking) {
        setPhase(aircraft, AcPhase::Taxi);
        point.stationary = false;
        return true;
    }
    if (distance <= leftStandNm) {
        startMovingFromStand(aircraft, point);
        return true;
    }
    lf_addRealStandOption(aircraft.standNumber, aircraft, StandUse::Disappeared);
    removeFromSim(aircraft);
    return false;
}

void LiveTraffic::startMovingFromStand(LiveAircraft& aircraft, PositionBlock& point) {
    point.stationary = false;
    aircraft.startMoving = true;
    if (aircraft.extensionCount > 0) {
        // It stood on its extrapolated stand: a heavy one back within the hour was towed there.
        const std::int32_t stoppedFor =
            services_.run.liveTickCount - (aircraft.stream.back().dueTick - 604800 * 100);
        const int limit = aircraft.aircraftClass == liveries::categoryHeavy         ? 360000
                          : aircraft.aircraftClass == liveries::categoryLarge       ? 150000
                          : aircraft.aircraftClass == liveries::categoryBusinessJet ? 90000
                                                                                    : 0;
        if (aircraft.landed && stoppedFor < limit) aircraft.towed = true;
        aircraft.landed = false;
        endExtension(aircraft);
    }
    // It leaves when the reports that show it moving are due, as all traffic runs 30 s late:
    // leaving at once would show it moving half a minute before the real one did. Until then
    // it stands where it stood; the points it stood on there are done with.
    auto& stream = aircraft.stream;
    if (!stream.empty()) {
        stream.erase(stream.begin() + 1, stream.end());
        stream.front().dueTick =
            std::max(services_.run.liveTickCount + 1, aircraft.setOffTick.value_or(point.dueTick));
    }
    lf_addRealStandOption(aircraft.standNumber, aircraft, StandUse::Left);
    releaseStand(aircraft);
    setPhase(aircraft, AcPhase::Parked);
}

}  // namespace corv::live
