#include "airports/AirportSettings.hpp"

#include "settings/ParameterTable.hpp"

namespace corv::airports {

namespace {
template <typename ParameterType, typename T>
void restore(ParameterType& parameter, T value, SettingsControls& settings) {
    if (parameter.value() == parameter.clamp(value)) return;
    parameter.setCurrent(value);
    parameter.showCurrent(settings.controls);
}
}  // namespace

AirportSettingsSnapshot snapshotAirportSettings() {
    using namespace settings;
    return {MAX_LIVE_SEL.value(),
            MAX_FIT.value(),
            MAX_FIT_FL.value(),
            RANGE.value(),
            parking_percentage.value(),
            AUTO_RANGE.value(),
            INITIAL_LOAD_ONLY.value(),
            PARK_SOFT.value(),
            WEEK.value()};
}

void setMaxFit(std::int32_t maxFit, SettingsControls& settings) {
    settings::MAX_FIT.setCurrent(maxFit);
    settings::convertMaxFit(settings.controls);
}

void setMaxFitHours(float hours, SettingsControls& settings) {
    settings::MAX_FIT_FL.setCurrent(hours);
    settings::MAX_FIT_FL.showCurrent(settings.controls);
}

void restoreAirportSettings(const AirportSettingsSnapshot& snapshot, SettingsControls& settings) {
    using namespace settings;
    restore(MAX_LIVE_SEL, snapshot.maxLiveSel, settings);
    if (MAX_FIT.value() != MAX_FIT.clamp(snapshot.maxFit)) setMaxFit(snapshot.maxFit, settings);
    // Hours that no MAX_FIT converts to (a first visit sets both) are put back as they were.
    if (MAX_FIT_FL.value() != MAX_FIT_FL.clamp(snapshot.maxFitHours)) {
        setMaxFitHours(snapshot.maxFitHours, settings);
    }
    if (RANGE.value() != RANGE.clamp(snapshot.range)) settings.setRange(snapshot.range);
    restore(parking_percentage, snapshot.parkingPercentage, settings);
    restore(AUTO_RANGE, snapshot.autoRange, settings);
    restore(INITIAL_LOAD_ONLY, snapshot.initialLoadOnly, settings);
    restore(PARK_SOFT, snapshot.parkSoft, settings);
    restore(WEEK, snapshot.week, settings);
}

}  // namespace corv::airports
