#include "airports/WantedCount.hpp"

#include <algorithm>
#include <cmath>

#include "settings/ParameterTable.hpp"

namespace corv::airports {

std::int32_t wantedStaticCount(std::size_t standCount, std::int32_t percentage,
                               std::int32_t maxParkSel) {
    if (maxParkSel <= 0) return 0;
    std::int32_t share = 1;
    if (standCount >= 4 || (standCount >= 2 && percentage >= 50)) {
        share = static_cast<std::int32_t>(
            std::round(static_cast<double>(standCount) * percentage / 100.0));
    }
    return std::min(maxParkSel, share);
}

std::int32_t parkingShare() {
    const std::int32_t custom = settings::CUSTOM_PARKING_PERCENTAGE.value();
    return custom >= 0 ? custom : settings::parking_percentage.value();
}

}  // namespace corv::airports
