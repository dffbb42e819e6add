#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "airports/AirportCatalogue.hpp"
#include "airports/CatalogueAirport.hpp"
#include "common/GreatCircle.hpp"
#include "data/SiteDownloader.hpp"

namespace corv::airports {

// Distance in nm from a position to the nearest stand of an airport, that stand's id through
// the last argument; 100 when no stand can be found.
using NearestStandLookup =
    std::function<double(const AirportCode&, const common::GeoPoint&, std::string& standId)>;

inline constexpr double noStandDistanceNm = 100.0;

// Reads the airport's stand file (local, or fetched from the download site into "airport.xml"
// of the working folder, removed afterwards) for the nearest stand.
double gf_readDestApfForClosestStand(const std::filesystem::path& workFolder,
                                     const AirportCatalogue& catalogue,
                                     data::SiteDownloader& downloader, const AirportCode& code,
                                     const common::GeoPoint& position, std::string& standId);

}  // namespace corv::airports
