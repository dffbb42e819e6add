#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "airports/AirportCatalogue.hpp"

namespace corv::airports {

// Paths of airport data are texts relative to the working folder ("airports/...") or to the
// download site's "downloads/P3D/" ("archive/...").

// The stand file of an airport, first match wins: a link in airports/my_thirdparty, a file
// there, the same in airports/my_ORBX, the stock archive file of a catalogue airport with a
// stand class. Empty when the airport has none.
std::string resolveAirportFile(const std::filesystem::path& workFolder,
                               const AirportCatalogue& catalogue, const AirportCode& code);

// One of the local files exists (a link file without looking into it), or the catalogue
// gives the airport stand data.
bool hasStandData(const std::filesystem::path& workFolder, const AirportCatalogue& catalogue,
                  const AirportCode& code);

// The archive path a link file holds; nothing when it is no link.
std::optional<std::string> readLink(const std::filesystem::path& linkFile);

bool isLocalAirportPath(std::string_view path);

// Where the learned file of an airport file lives; nothing for a path that has none.
std::optional<std::string> learnedPathOf(std::string_view airportPath, std::string_view publisher);

// The folder learned files of a publisher are saved in.
std::string learnedFolderOf(std::string_view publisher);

// 100, 50 or 30 by the catalogue's stand class.
std::int32_t defaultParkingPercentage(std::int32_t standClass);

}  // namespace corv::airports
