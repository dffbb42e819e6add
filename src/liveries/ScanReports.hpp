#pragma once

#include <filesystem>

#include "liveries/CfgReader.hpp"

namespace corv::liveries {

// Writes what a scan found wrong with the user's aircraft.cfg files, one sorted entry per line,
// into the errors folder ("files without sections" into the info folder), and logs the summary.
// A list without entries writes no file.
void writeScanReports(const CfgReport& report, const std::filesystem::path& errorsFolder,
                      const std::filesystem::path& infoFolder);

}  // namespace corv::liveries
