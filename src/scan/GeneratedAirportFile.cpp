#include "scan/GeneratedAirportFile.hpp"

#include <algorithm>

#include <fmt/format.h>

namespace corv::scan {

void generateAirportFile(ScannedAirport& airport, int helipads,
                         const std::filesystem::path& airportsFolder,
                         const AirportFileWriter& writeAirportFile, ScanMessages& messages) {
    if (airport.stands.empty()) {
        messages.push_back(fmt::format("{} has no stands", airport.code));
        return;
    }
    const std::filesystem::path folder =
        airportsFolder / (airport.publisher == "simaddon" ? "my_ORBX" : "my_thirdparty");
    const std::size_t count = airport.stands.size();
    messages.push_back(fmt::format(
        "Generated {}: {} position{}{}", airport.code.str() + ".xml", count, count == 1 ? "" : "s",
        helipads > 0 ? fmt::format(" of which {} helipad{}", helipads, helipads == 1 ? "" : "s")
                     : std::string()));
    std::sort(airport.stands.begin(), airport.stands.end(),
              [](const ScannedStand& a, const ScannedStand& b) { return a.id < b.id; });
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / (airport.code.str() + ".xml");
    if (!writeAirportFile(path, airport))
        messages.push_back(fmt::format("{}Writing {} did not succeed", "===> ", path.string()));
}

}  // namespace corv::scan
