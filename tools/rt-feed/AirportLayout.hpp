#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/GreatCircle.hpp"

namespace corv::rtfeed {

// One runway end as data/runways.csv lists it: aircraft taking off on it start at the end, those
// landing on it touch down at the threshold (displaced along the heading from the end).
struct Runway {
    std::string name;
    common::GeoPoint end;
    common::GeoPoint threshold;
    double heading = 0.0;    // degrees true
    double elevation = 0.0;  // feet
    double lengthFt = 0.0;   // from the end
    double displacedFt = 0.0;
};

// Who parks at a stand: an airline designator, a type and "inbound:outbound" callsigns.
struct StandUse {
    std::string airline;
    std::string type;
    std::string callsigns;
};

struct Stand {
    std::string id;
    common::GeoPoint position;
    double heading = 0.0;  // degrees true, the way a parked aircraft faces
    std::vector<StandUse> uses;
};

struct AirportLayout {
    std::string icao;
    std::vector<Runway> runways;
    std::vector<Stand> stands;
};

// The runways and stands of the airport that has a runway end within 8 nm of the position,
// from the runway table and the stand file ICAO.xml in the stand folder. Nothing, with the
// reason in problem, when no airport is that close or a file is missing or damaged.
std::optional<AirportLayout> loadAirportLayout(const std::filesystem::path& runwayTable,
                                               const std::filesystem::path& standFolder,
                                               common::GeoPoint near, std::string& problem);

}  // namespace corv::rtfeed
