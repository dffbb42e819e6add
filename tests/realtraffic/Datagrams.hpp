#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "realtraffic/DatagramFields.hpp"
#include "realtraffic/TrafficContext.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {

// The folder of real inputs made by other people; empty when it is not there.
inline std::filesystem::path sharedDataFolder() {
    const char* configured = std::getenv("CORV_SHARED_DATA");
    std::filesystem::path folder = configured && *configured ? configured : CORV_SHARED_DATA_DIR;
    return std::filesystem::is_directory(folder) ? folder : std::filesystem::path();
}

// The lines of RealTraffic's notes that start with the prefix (its documented examples).
inline std::vector<std::string> documentedLines(const std::string& prefix) {
    const std::filesystem::path folder = sharedDataFolder();
    if (folder.empty()) return {};
    std::vector<std::string> found;
    for (const std::string& line : splitLines(readFile(folder / "realtraffic" / "README.md"))) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
}

// A traffic record near Zurich that passes every check; tests change one field at a time.
inline std::string trafficLine(const std::map<int, std::string>& changes = {}) {
    std::vector<std::string> fields{"RTTFC", "4001234", "47.4500",   "8.5600", "12000",
                                    "-800",  "0",       "250.5",     "280.0",  "SWR123",
                                    "A320",  "HB-JLT",  "ZRH",       "LHR",    "1700000000.5",
                                    "X1",    "LX123",   "adsb_icao", "12100",  "250",
                                    "300",   "0.5",     "0",         "5.0",    "248",
                                    "252.0", "0",       "none",      "A3"};
    for (const auto& [index, text] : changes) {
        if (index >= static_cast<int>(fields.size())) fields.resize(index + 1);
        fields[index] = text;
    }
    std::string line = fields.front();
    for (std::size_t i = 1; i < fields.size(); ++i)
        line += ',' + fields[i];
    return line;
}

// Where the user flies in these tests, and Zurich airport as the park airport.
inline constexpr common::GeoPoint nearZurich{47.40, 8.50};
inline const realtraffic::ParkAirport zurichAirport{{47.4647, 8.5492}, 1416.0};

}  // namespace corv::test
