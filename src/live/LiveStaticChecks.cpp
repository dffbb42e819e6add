#include <algorithm>
#include <cmath>

#include "airports/HalfHourSet.hpp"
#include "common/GreatCircle.hpp"
#include "live/GhostCallsign.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"

// A flight is shown once: a static aircraft that turns out to be a live one, or stands where a
// live one drives, leaves.
namespace corv::live {

namespace {
bool flies(const parking::StaticView& view, const std::string& callsign) {
    return !callsign.empty() && (view.callsign == callsign || view.callsign2 == callsign);
}

bool sameAirframe(const parking::StaticView& view, const LiveAircraft& aircraft) {
    return !aircraft.registration.empty() && view.registration == aircraft.registration;
}
}  // namespace

void LiveTraffic::runStaticTwinCheck() {
    if (staticTwinChecks_.empty()) return;
    const std::uint32_t hexid = staticTwinChecks_.front();
    staticTwinChecks_.pop_front();
    LiveAircraft* aircraft = table_.findHexid(hexid);
    if (aircraft == nullptr) return;
    // Without stands there is no schedule yet; it is looked up once the airport is there.
    if (!aircraft->scheduleLookedUp && standsLoaded()) {
        lookUpSchedule(*aircraft);
        aircraft->scheduleLookedUp = true;
    }
    removeStaticTwin(*aircraft);
}

// The stand schedule tells which callsign the flight departs with, so its static twin is found
// under either.
void LiveTraffic::lookUpSchedule(LiveAircraft& aircraft) {
    if (aircraft.callsign.empty()) return;
    const std::string base = withoutGhostMark(aircraft.callsign);
    const airports::TimeKey now = services_.timeKeyNow.load();
    const int reach = aircraft.aircraftClass == liveries::categoryHeavy ? 14 : 10;
    const airports::HalfHourSet window =
        airports::HalfHourSet::range(std::max(0, now.halfHour - reach),
                                     std::min(airports::halfHoursPerDay - 1, now.halfHour + reach));
    for (const airports::Stand& stand : services_.airport->stands) {
        for (const airports::OccupancyEntry& entry : stand.entries) {
            if (entry.index <= 0 || entry.day != now.weekday ||
                entry.identity.airline != aircraft.identity.airline || entry.callsign2.empty() ||
                !entry.hours.overlaps(window))
                continue;
            const auto named = [&](const std::string& name) {
                return name == aircraft.callsign || name == base;
            };
            if (!named(entry.callsign) && !named(entry.callsign2)) continue;
            aircraft.scheduleCallsign = entry.callsign;
            aircraft.scheduleSecondCallsign = entry.callsign2;
            return;
        }
    }
}

void LiveTraffic::removeStaticTwin(const LiveAircraft& aircraft) {
    if (services_.statics == nullptr) return;
    const std::string base =
        aircraft.callsign.ends_with('_') ? withoutGhostMark(aircraft.callsign) : std::string();
    for (const parking::StaticView& view : services_.statics->staticAircraft()) {
        if (!view.active) continue;
        if (sameAirframe(view, aircraft) || flies(view, aircraft.callsign) ||
            flies(view, aircraft.scheduleSecondCallsign) || flies(view, base)) {
            services_.statics->removeStatic(view.key);
            return;
        }
    }
}

void LiveTraffic::checkParkedVersusStatic() {
    if (services_.statics == nullptr) return;
    const std::vector<parking::StaticView> statics = services_.statics->staticAircraft();
    if (statics.empty()) return;
    for (const LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state != AcState::Active || !aircraft.onGroundMode) continue;
        for (const parking::StaticView& view : statics) {
            if (view.active &&
                (sameAirframe(view, aircraft) || view.name == aircraft.callsign + "*")) {
                services_.statics->removeStatic(view.key);
                return;
            }
        }
    }
}

// A live aircraft taxiing into a static one's stand: the static one makes room.
void LiveTraffic::checkLiveVersusStaticCollisions() {
    if (services_.statics == nullptr) return;
    std::vector<parking::StaticView> statics = services_.statics->staticAircraft();
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state != AcState::Active || !aircraft.onGroundMode ||
            (aircraft.phase != AcPhase::Taxi && aircraft.phase != AcPhase::Parking) ||
            aircraft.departing || aircraft.landingRoll)
            continue;
        const common::GeoPoint here{aircraft.sim.latitude, aircraft.sim.longitude};
        const bool moved =
            std::fabs(here.latitude - aircraft.lastStaticCheck.latitude) > motion::samePosition ||
            std::fabs(here.longitude - aircraft.lastStaticCheck.longitude) > motion::samePosition;
        aircraft.lastStaticCheck = here;
        if (!moved) continue;
        for (parking::StaticView& view : statics) {
            if (!view.active || view.name == aircraft.callsign) continue;
            if (common::distanceNm(view.standPosition, here) <
                1.1 * (view.radiusNm + radiusOf(aircraft))) {
                services_.statics->removeStatic(view.key);
                view.active = false;
                break;
            }
        }
    }
}

}  // namespace corv::live
