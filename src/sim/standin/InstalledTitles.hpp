#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace corv::sim::standin {

// One livery the stand-in simulator can load.
struct InstalledTitle {
    std::string title;
    std::string atcModel;          // from [General], may be empty
    double maxGrossWeightLbs = 0;  // 0 when the file does not tell
};

// The titles of the [fltsim.N] sections of every aircraft.cfg and sim.cfg below the given
// folders, as a real simulator finds them; the first file that names a title wins. Folders that
// do not exist are skipped.
std::map<std::string, InstalledTitle> findInstalledTitles(
    const std::vector<std::filesystem::path>& folders);

// The titles of one configuration file, appended to the map.
void readAircraftConfig(const std::filesystem::path& file,
                        std::map<std::string, InstalledTitle>& titles);

}  // namespace corv::sim::standin
