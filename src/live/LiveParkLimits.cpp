#include <algorithm>

#include "airports/WantedCount.hpp"
#include "airports/WeekSlot.hpp"
#include "live/LiveTraffic.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

// How many aircraft stand parked at the park airport: never more than its park limit, and how
// long they stand on average.
namespace corv::live {

namespace {
bool parkedActive(const LiveAircraft& aircraft) {
    return aircraft.state == AcState::Active && aircraft.phase == AcPhase::Parked;
}
}  // namespace

LiveAircraft* LiveTraffic::longestIdleParked() {
    LiveAircraft* longest = nullptr;
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (parkedActive(aircraft) &&
            (longest == nullptr || aircraft.parkedSinceTick < longest->parkedSinceTick))
            longest = &aircraft;
    }
    return longest;
}

void LiveTraffic::checkParkLimit(int adding) {
    const std::int32_t limit = airports::wantedStaticCount(
        services_.airport->stands.size(), airports::parkingShare(), settings::MAX_PARK_SEL.value());
    if (limit <= 0) return;
    const auto parked =
        static_cast<std::int32_t>(std::ranges::count_if(table_.aircraft, parkedActive)) + adding;
    if (!settings::INITIAL_LOAD_ONLY.value() && parked > limit) {
        if (LiveAircraft* idle = longestIdleParked()) {
            services::log("{:8}: {} live max park exceeded, removed", idle->standId,
                          idle->callsign);
            removeFromSim(*idle);
        }
    }
    if (services_.statics == nullptr) return;
    const std::vector<parking::StaticView> statics = services_.statics->staticAircraft();
    const parking::StaticView* earliest = nullptr;
    std::int32_t inSim = 0;
    for (const parking::StaticView& view : statics) {
        if (!view.active && !view.removing) continue;
        ++inSim;
        if (earliest == nullptr || view.occupiedSince < earliest->occupiedSince) earliest = &view;
    }
    if (parked + inSim <= limit || earliest == nullptr || !earliest->active) return;
    services::log("{:8}: {} static max park exceeded, removed",
                  services_.airport->standIdOf(earliest->standNumber), earliest->name);
    services_.statics->removeStatic(earliest->key);
}

void LiveTraffic::showParkedStatistics() {
    const airports::WeekSlot now = airports::weekSlot(services_.timeKeyNow.load());
    int parked = 0;
    int halfHours = 0;
    for (const LiveAircraft& aircraft : table_.aircraft) {
        if (!parkedActive(aircraft)) continue;
        ++parked;
        halfHours += airports::slotsBetween(airports::weekSlot(aircraft.parkSlot), now);
    }
    const double hours = parked == 0 ? 0.0 : halfHours / (2.0 * parked) + 0.5;
    bool changed = false;
    services_.display.update([&](status::DisplaySnapshot& d) {
        changed = d.parking.parkedLive != parked || d.parking.averageParkedHours != hours;
        d.parking.parkedLive = parked;
        d.parking.averageParkedHours = hours;
    });
    if (changed) services_.window.repaintBand(status::Band::Parking);
}

}  // namespace corv::live
