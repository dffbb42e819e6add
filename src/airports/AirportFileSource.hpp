#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "airports/AirportCatalogue.hpp"

namespace corv::airports {

// Where an airport's stand file comes from, first match wins: a link or a local file of the
// add-on folders "airports/my_thirdparty" and "airports/my_ORBX", else the stock archive file
// of the download site when the catalogue gives the airport a stand class. Empty when none.
// A result beginning with "airports" is local (below `folder`); any other lies on the site.
std::string resolveAirportFile(const std::filesystem::path& folder,
                               const AirportCatalogue& catalogue, const AirportCode& code);

// One of the four local files exists, or the catalogue gives the airport a stand class.
bool hasStandData(const std::filesystem::path& folder, const AirportCatalogue& catalogue,
                  const AirportCode& code);

// The path a link file names: its text, trailing white space removed, when it ends in ".xml".
std::optional<std::string> linkTarget(const std::filesystem::path& linkFile);

// Where the learned file of an airport file lives (relative to the working folder); nothing for
// a path that maps to no learned file.
std::optional<std::filesystem::path> learnedPathOf(std::string_view airportFile,
                                                   std::string_view publisher);

}  // namespace corv::airports
