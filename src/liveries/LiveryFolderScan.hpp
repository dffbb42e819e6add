#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "liveries/CfgReader.hpp"

namespace corv::liveries {

// What a scan of the livery folders found: the liveries sorted by title, and the report.
struct FolderScanResult {
    std::vector<LiveryData> liveries;
    CfgReport report;
};

// Told after every file read: files read so far, files found in all folders.
using ScanProgress = std::function<void(std::size_t filesRead, std::size_t filesTotal)>;

struct FolderScanOptions {
    // Keep only the liveries of the lowest-numbered folder that has one for an airline,
    // operator and type.
    bool prioritize = false;
    unsigned readers = 2;  // reader tasks at a time
    std::function<bool()> stopRequested = [] { return false; };
    ScanProgress progress;
};

// Reads every aircraft.cfg and sim.cfg below the folders, in folder order, with at most
// `readers` files read at a time; folders are ranked 1, 2, ... in the order they exist. Folders
// named "airport" and paths too long for the simulator are not entered. A reader that takes
// more than 10 seconds stops the scan (std::runtime_error) instead of hanging it.
FolderScanResult scanLiveryFolders(const std::vector<std::filesystem::path>& folders,
                                   const CfgReadContext& context, const FolderScanOptions& options);

}  // namespace corv::liveries
