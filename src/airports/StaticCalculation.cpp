#include "airports/StaticCalculation.hpp"

#include <algorithm>
#include <cmath>

#include "airports/WantedCount.hpp"
#include "services/Log.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::airports {

void logParkingDay(TimeKey key) {
    services::log("\n{} (utc) It is day {} ({}), {:.1F} hours", services::clockText(), key.weekday,
                  weekdayName(key.weekday), key.halfHour / 2.0);
}

void resetStandMarks(std::vector<Stand>& stands, std::string_view reservedStand,
                     std::string_view userStand) {
    for (Stand& stand : stands) {
        stand.reserved = stand.blocked = stand.taken = false;
        if (!stand.id.empty() && (stand.id == reservedStand || stand.id == userStand))
            stand.reserved = true;
    }
}

std::vector<StaticAircraft> calculateStaticParking(std::vector<Stand>& stands, TimeKey key,
                                                   const StaticSearchInputs& inputs,
                                                   SearchFits& fits) {
    std::vector<StaticAircraft> candidates;
    const std::int32_t wanted =
        wantedStaticCount(stands.size(), parkingShare(), settings::MAX_PARK_SEL.value());
    if (wanted > 0) StaticSearch(stands, inputs).searchStages(key, wanted, 0, candidates, fits);
    std::ranges::stable_sort(candidates, {}, &StaticAircraft::fit);
    if (std::cmp_greater(candidates.size(), wanted)) candidates.resize(wanted);
    if (candidates.empty()) {
        services::log("no parking positions found");
        return candidates;
    }
    const auto share = static_cast<int>(
        std::round(static_cast<double>(candidates.size()) * 100.0 / stands.size()));
    services::log("{} positions ({}% vs wanted {}%, with Max fit={:.1F} hours)\n",
                  candidates.size(), share, settings::parking_percentage.value(),
                  settings::MAX_FIT_FL.value());
    std::ranges::stable_sort(candidates, std::greater{}, &StaticAircraft::fit);
    return candidates;
}

}  // namespace corv::airports
