#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "airports/AirportSettings.hpp"
#include "airports/CatalogueAirport.hpp"
#include "airports/QualityFactors.hpp"
#include "airports/Stand.hpp"

namespace corv::airports {

// The park airport while it is loaded; the run owns the one instance.
struct LoadedAirport {
    std::optional<AirportCode> code;  // nothing: no park airport chosen
    std::string airport_name;
    std::string publisher;
    std::int32_t altitude = 0;  // feet
    bool handmade = false;
    std::atomic<bool> loaded{false};  // the window reads it for the display
    QualityFactors quality;
    std::int32_t RT_traffic_week = 0;
    std::vector<Stand> stands;  // ordered by number once read
    AirportSettingsSnapshot settings;
    std::int32_t updateCount = 0;  // learned changes since loading
    std::string reservedStandId;

    // The id of the stand with that number; "sid==0?" for 0, "sid==?" when no stand has it.
    std::string standIdOf(std::int32_t number) const;
};

}  // namespace corv::airports
