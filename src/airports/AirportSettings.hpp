#pragma once

#include <cstdint>
#include <functional>

#include "status/ControlStates.hpp"

namespace corv::airports {

// Changing a setting for an airport shows it in its control; the radius goes through the
// window's range setter, which keeps the radius the traffic logic uses.
struct SettingsControls {
    status::ControlStates& controls;
    std::function<void(int nauticalMiles)> setRange;
};

// The eight settings an airport's learned file may change, as they were before it was read.
struct AirportSettingsSnapshot {
    std::int32_t maxLiveSel = 0;
    std::int32_t maxFit = 0;
    float maxFitHours = 0.0F;
    std::int32_t range = 0;
    std::int32_t parkingPercentage = 0;
    bool autoRange = false;
    bool initialLoadOnly = false;
    bool parkSoft = false;
    bool week = false;
};

AirportSettingsSnapshot snapshotAirportSettings();

// Puts back every setting that differs from the snapshot and shows it.
void restoreAirportSettings(const AirportSettingsSnapshot& snapshot, SettingsControls& settings);

// Setters that show the new value in the setting's control.
void setMaxFit(std::int32_t maxFit, SettingsControls& settings);
void setMaxFitHours(float hours, SettingsControls& settings);

}  // namespace corv::airports
