#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "airports/EntryIdentities.hpp"
#include "airports/LoadedAirport.hpp"
#include "airports/Stand.hpp"

namespace corv::airports {

// Full: an airport's stands as the add-on scan found them. Learned: what the program learned at
// an airport and the settings chosen there.
enum class AirportFileMode { Full, Learned };

// What an airport file is written from.
struct AirportRecord {
    std::string code;
    std::string name;
    std::string bglPath;
    std::string publisher;
    std::vector<Stand> stands;
    QualityPair quality{-1, -1};
    std::int32_t altitude = 0;  // feet
    bool handmade = false;
};

// Writes the airport file (parent folder created); false when it could not be written.
bool writeAirportFile(const std::filesystem::path& path, const AirportRecord& record,
                      AirportFileMode mode, const EntryIdentities& identities, int simNumber);

}  // namespace corv::airports
