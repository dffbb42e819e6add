#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/FixedCode.hpp"
#include "scan/StandIdSet.hpp"

namespace corv::scan {

// The report lines of one add-on airport scan, in the order they arose.
using ScanMessages = std::vector<std::string>;

// A parking position or helipad as read from scenery; it becomes a stand of the airport file.
struct ScannedStand {
    // Provided, so that a stand made in a reserved list is not zero-filled first: the scan
    // makes one per parking spot and sets every member anyway.
    ScannedStand() noexcept {}

    std::string id;
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double heading = 0.0;    // radians
    double radius = 0.0;     // nautical miles
    std::int16_t type = 0;   // parking type code of the scenery
    bool heli = false;
    // Airlines the scenery prefers at a parking spot, comma-separated as in the scenery's
    // source; a few codes fit in the text itself, without an allocation per stand.
    std::string airlineCodes;
};

// The airport being decoded from one airport record.
struct ScannedAirport {
    common::FixedCode<4> code;
    std::string name;           // at most 45 characters
    std::int32_t altitude = 0;  // feet
    std::string bglPath;        // UTF-8
    std::string publisher;
    std::vector<ScannedStand> stands;
    std::int32_t helipadCounter = 1;  // number of the next helipad id
    StandIdSet usedIds;
    std::vector<std::pair<double, double>> helipadPositions;  // latitude, longitude
};

}  // namespace corv::scan
