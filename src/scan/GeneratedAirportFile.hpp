#pragma once

#include <filesystem>
#include <functional>

#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// Writes a full airport file of the decoded airport to the path; false when it could not.
using AirportFileWriter =
    std::function<bool(const std::filesystem::path& path, const ScannedAirport& airport)>;

// Puts the decoded airport's stands, sorted by id, into CODE.xml of airports/my_ORBX
// (simaddon) or airports/my_thirdparty and reports it; an airport without stands is only
// reported. A folder that cannot be created throws std::filesystem::filesystem_error.
void generateAirportFile(ScannedAirport& airport, int helipads,
                         const std::filesystem::path& airportsFolder,
                         const AirportFileWriter& writeAirportFile, ScanMessages& messages);

}  // namespace corv::scan
