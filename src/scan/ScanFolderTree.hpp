#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// What a walk over one add-on folder needs from the scan.
struct FolderWalk {
    std::string stockScenery;  // UTF-8; entries inside it are skipped, letter case ignored
    std::function<void(const std::string&)> showMessage;  // shows and logs
    std::function<bool()> stopRequested;
    std::function<bool(const std::filesystem::path&)> isAirportBgl;
    std::function<void(const std::string& path)> processBglFile;
};

// Whether a scenery file is left out of the scan by its path: statics, heliports and lighting
// add-ons that carry airport records of their own (letter case counts).
bool isExcludedSceneryPath(const std::string& path);

// Hands every airport scenery file below the folder to processBglFile. An entry that fails is
// recorded in the scan messages and the walk goes on.
void scanFolderTree(const std::filesystem::path& folder, const FolderWalk& walk,
                    ScanMessages& messages);

}  // namespace corv::scan
