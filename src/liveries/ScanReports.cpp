#include "liveries/ScanReports.hpp"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "services/Log.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
struct ReportFile {
    const std::vector<std::string>& entries;
    fs::path path;
    const char* one;   // what one entry is called in the summary
    const char* many;  // and several
};

void writeSorted(const fs::path& path, std::vector<std::string> entries) {
    std::sort(entries.begin(), entries.end());
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& entry : entries)
        out << entry << '\n';
    if (!out) services::logMarked("writing {} failed", path.string());
}

}  // namespace

void writeScanReports(const CfgReport& report, const fs::path& errorsFolder,
                      const fs::path& infoFolder) {
    const ReportFile errors[] = {
        {report.invalidAirlines, errorsFolder / "InvalidAirlineCodes.txt", "invalid airline code",
         "invalid airline codes"},
        {report.invalidModels, errorsFolder / "InvalidAircraftCodes.txt", "invalid model code",
         "invalid model codes"},
        {report.fixes, errorsFolder / "Fixes.txt", "fixes", "fixes"},
        {report.invalidFiles, errorsFolder / "InvalidAircraftCfgFiles.txt",
         "invalid aircraft.cfg file", "invalid aircraft.cfg files"},
        {report.incompleteSections, errorsFolder / "IncompleFltsimSections.txt",
         "incomplete [fltsim.x] section", "incomplete [fltsim.x] sections"},
    };
    const bool anyError = std::any_of(std::begin(errors), std::end(errors),
                                      [](const ReportFile& file) { return !file.entries.empty(); });
    services::log(anyError ? "\nErrors:" : "\nNo errors");
    for (const ReportFile& file : errors) {
        if (file.entries.empty()) continue;
        writeSorted(file.path, file.entries);
        const std::size_t count = file.entries.size();
        services::log("{:5} {}, see {}", count, count == 1 ? file.one : file.many,
                      file.path.string());
    }
    if (!report.filesWithoutSections.empty()) {
        const fs::path path = infoFolder / "AircraftCfgWithNoFltsimSection.txt";
        writeSorted(path, report.filesWithoutSections);
        services::log("\nInformation:");
        services::log("{:5} empty aircraft.cfg files, see {}", report.filesWithoutSections.size(),
                      path.string());
    }
}

}  // namespace corv::liveries
