#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "airports/Stand.hpp"

namespace corv::airports {

// The real and the soft quality factor of an airport's occupancy data, 0 to 100; both -1 when
// no stand has an entry.
using QualityPair = std::pair<std::int32_t, std::int32_t>;

// The per-airport settings as they were before the airport's learned file changed them.
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

// The park airport while it is loaded; one per process, owned by the run cycle.
struct LoadedAirport {
    std::string code;
    std::string airportName;
    std::string publisher;
    std::int32_t altitude = 0;  // feet
    bool handmade = false;
    std::atomic<bool> loaded{false};  // the window reads it
    QualityPair quality{0, 0};
    std::int32_t rtTrafficWeek = 0;
    std::vector<Stand> stands;  // ordered by number
    AirportSettingsSnapshot settings;
    std::int32_t updates = 0;  // learned changes since loading
    std::string reservedStand;
};

// The id of the stand with that number: "sid==0?" for 0, "sid==?" for none.
std::string standIdOf(const std::vector<Stand>& stands, std::int32_t number);

}  // namespace corv::airports
