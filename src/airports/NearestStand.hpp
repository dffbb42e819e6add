#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "airports/AirportCatalogue.hpp"
#include "airports/CatalogueAirport.hpp"
#include "common/GreatCircle.hpp"

namespace corv::data {
class SiteDownloader;
}

namespace corv::airports {

// Distance in nm from a position to the nearest stand of an airport, that stand's id through
// the last argument; 100 when no stand can be found.
using NearestStandLookup =
    std::function<double(const AirportCode&, const common::GeoPoint&, std::string& standId)>;

inline constexpr double noStandDistanceNm = 100.0;

// What finding an airport's nearest stand reads: its stand file, local below `folder` or
// fetched from the download site.
struct StandFileAccess {
    std::filesystem::path folder;
    const AirportCatalogue& catalogue;
    data::SiteDownloader& site;
};

double gf_readDestApfForClosestStand(const StandFileAccess& access, const AirportCode& code,
                                     const common::GeoPoint& position, std::string& standId);

}  // namespace corv::airports
