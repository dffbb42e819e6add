#pragma once

#include <filesystem>

#include "airports/AirportCatalogue.hpp"

namespace corv::airports {

// The user error of a damaged catalogue file.
inline constexpr int airportsFileErrorCode = 88;

// Decrypts "airports.enc" of the input folder into "airports.xml" beside it and reads that into
// the catalogue. A catalogue read before is not read again. Returns whether it holds airports.
// A decryption error is logged and passed on; a damaged file throws UserErrorException 88.
bool gf_readAirports(AirportCatalogue& catalogue, const std::filesystem::path& inputFolder);

// Reads a plain airports.xml into the catalogue and removes the file, also when it is damaged
// (UserErrorException 88), since the plain data must not stay on disk.
bool readAirportsFile(AirportCatalogue& catalogue, const std::filesystem::path& plainFile);

}  // namespace corv::airports
