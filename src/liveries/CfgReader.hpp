#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "liveries/LiveryData.hpp"

namespace corv::liveries {

class ReferenceData;

// What is wrong with the user's aircraft.cfg files, one entry per line of the report files.
struct CfgReport {
    std::vector<std::string> invalidAirlines;       // "InvalidAirlineCodes.txt"
    std::vector<std::string> invalidModels;         // "InvalidAircraftCodes.txt"
    std::vector<std::string> fixes;                 // "Fixes.txt"
    std::vector<std::string> invalidFiles;          // "InvalidAircraftCfgFiles.txt"
    std::vector<std::string> incompleteSections;    // "IncompleFltsimSections.txt"
    std::vector<std::string> filesWithoutSections;  // "AircraftCfgWithNoFltsimSection.txt"

    // Appends the other report, for collecting the reports of several files.
    void append(const CfgReport& other);
};

// The titles already given to a livery during one scan, shared by the parallel readers: the
// first reader to claim a title keeps it.
class TitlesSeen {
  public:
    // False when the title was already claimed.
    bool claim(const std::string& title);

  private:
    std::mutex mutex_;
    std::set<std::string, std::less<>> titles_;
};

// Where the reader checks that a livery's files are installed; tests replace it.
struct LiveryFileCheck {
    std::function<bool(const std::filesystem::path&)> isFolder;
    std::function<bool(const std::filesystem::path&)> isFile;

    static LiveryFileCheck fileSystem();
};

// What every file of one scanned folder is read with.
struct CfgReadContext {
    ReferenceData& reference;
    TitlesSeen& titlesSeen;
    // Titles never to be used ("don't use title" list of the registration codes).
    const std::set<std::string, std::less<>>& unusableTitles;
    std::int32_t folderRank = 0;
    LiveryFileCheck files = LiveryFileCheck::fileSystem();
};

struct CfgReadResult {
    std::vector<LiveryData> liveries;
    CfgReport report;
};

// Reads one aircraft.cfg (or sim.cfg): every usable [fltsim.N] section gives one livery. What is
// wrong with the file goes into the report, nothing throws. Files of an IVAO model set (the path
// contains "IVAO_MTL" or "ivao_x-csl") take the type from their folder and the airline from the
// title.
CfgReadResult readAircraftCfg(const std::filesystem::path& path, CfgReadContext& context);

}  // namespace corv::liveries
