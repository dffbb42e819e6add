#pragma once

#include <filesystem>
#include <vector>

#include "airports/CatalogueAirport.hpp"

namespace corv::airports {

// The airports of a plain airports.xml in document order. Bad airports are logged and skipped;
// an unreadable file, a missing "airports" element or an invalid "c" code throws, with the text
// the user is shown.
std::vector<CatalogueAirport> parseAirportsXml(const std::filesystem::path& file);

}  // namespace corv::airports
