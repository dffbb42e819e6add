#pragma once

#include <filesystem>
#include <set>

#include "common/FixedCode.hpp"

namespace corv::scan {

// The airport codes of the ICAO list (input/ICAO_airports.txt): comma-separated codes of four
// characters per line. A missing file throws corv::UserErrorException 522; a piece that is no
// code throws the code's std::invalid_argument.
std::set<common::FixedCode<4>> readIcaoAirportCodes(const std::filesystem::path& path);

}  // namespace corv::scan
