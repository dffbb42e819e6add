#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "airports/AircraftIdentities.hpp"
#include "airports/CatalogueAirport.hpp"
#include "airports/QualityFactors.hpp"
#include "airports/Stand.hpp"

namespace corv::airports {

// full: an airport file with every stand and no occupancy (the add-on scan writes these);
// learned: what was learned at the airport and the settings chosen there.
enum class AirportFileMode { full, learned };

struct AirportRecord {
    AirportCode code;
    std::string name;
    std::string bglPath;
    std::string publisher;
    std::vector<Stand> stands;
    QualityFactors quality{-1, -1};
    std::int32_t altitude = 0;
    bool handmade = false;
};

// Writes the file (and its folder) so that it is replaced whole or not at all. True on success.
bool writeAirportFile(const std::filesystem::path& file, const AirportRecord& airport,
                      AirportFileMode mode, const AircraftIdentities& identities, int simNumber);

}  // namespace corv::airports
