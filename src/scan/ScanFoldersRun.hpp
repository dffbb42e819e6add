#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "scan/ScanFolderTree.hpp"
#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// Where the scan finds and leaves its files, below the working folder.
struct ScanPaths {
    std::filesystem::path workingFolder;
    std::filesystem::path orbxFolder() const { return workingFolder / "airports" / "my_ORBX"; }
    std::filesystem::path thirdPartyFolder() const {
        return workingFolder / "airports" / "my_thirdparty";
    }
    std::filesystem::path scanLog() const {
        return workingFolder / "output" / "info" / "AirportsScanLog.txt";
    }
    std::filesystem::path collectionFolder() const { return workingFolder / "tblo"; }
};

// What the scan shows in the window.
struct ScanDisplay {
    std::function<void(const std::string&)> showMessage;  // shows and logs
    std::function<void()> clearMessage;
    std::function<void(std::size_t orbx, std::size_t thirdParty)> showAddonCounts;
    std::function<void(std::int64_t mailCount)> showMailRequest;
};

// Scans every folder, writes the scan log, collects the generated airport files into the zip
// to be mailed and returns whether the scan found add-on airports of its own (third-party
// files). mailCount is the number of collected files, 0 when nothing was collected.
bool scanFolders(const std::vector<std::filesystem::path>& folders, const ScanPaths& paths,
                 const FolderWalk& walk, const ScanDisplay& display,
                 const std::function<bool(const common::FixedCode<4>&)>& isRtSupported,
                 ScanMessages& messages, std::int64_t& mailCount);

}  // namespace corv::scan
