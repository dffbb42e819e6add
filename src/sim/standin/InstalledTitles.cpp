#include "sim/standin/InstalledTitles.hpp"

#include <algorithm>
#include <exception>
#include <string_view>

#include "common/UpperCase.hpp"
#include "liveries/CfgText.hpp"

namespace corv::sim::standin {

namespace {

double leadingNumber(std::string_view text) {
    try {
        return std::stod(std::string(text));
    } catch (const std::exception&) {
        return 0.0;
    }
}

bool isConfigFile(const std::filesystem::path& path) {
    const auto name = common::upperCase(path.filename().string());
    return name == "AIRCRAFT.CFG" || name == "SIM.CFG";
}

}  // namespace

// Read as the program's livery scan reads it, so that both agree on what a file holds; unlike
// the scan, the simulator loads every titled section, whatever its codes.
void readAircraftConfig(const std::filesystem::path& file,
                        std::map<std::string, InstalledTitle>& titles) {
    const auto lines = liveries::readCfgLines(file);
    if (!lines) return;
    const std::string atcModel(liveries::firstCfgValue(*lines, "atc_model").value_or(""));
    const double maxGrossWeight =
        leadingNumber(liveries::firstCfgValue(*lines, "max_gross_weight").value_or(""));
    liveries::forEachFltsimSection(*lines, [&](const std::vector<std::string_view>& section) {
        for (std::string_view line : section) {
            if (const auto title = liveries::cfgValue(line, "title")) {
                titles.try_emplace(std::string(*title),
                                   InstalledTitle{std::string(*title), atcModel, maxGrossWeight});
                return;
            }
        }
    });
}

std::map<std::string, InstalledTitle> findInstalledTitles(
    const std::vector<std::filesystem::path>& folders) {
    std::map<std::string, InstalledTitle> titles;
    for (const auto& folder : folders) {
        std::error_code ec;
        if (folder.empty() || !std::filesystem::is_directory(folder, ec)) continue;
        // Sorted, so that the first file naming a title is the same on every machine.
        std::vector<std::filesystem::path> files;
        const auto options = std::filesystem::directory_options::skip_permission_denied;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, options, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_regular_file(ec) && isConfigFile(it->path())) files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            try {
                readAircraftConfig(file, titles);
            } catch (const std::runtime_error&) {
                // A damaged file holds no loadable livery, as in the real simulator.
            }
        }
    }
    return titles;
}

}  // namespace corv::sim::standin
