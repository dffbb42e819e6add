#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scan/ScannedAirport.hpp"
#include "scan/SceneryFile.hpp"

namespace corv::scan {

// What a walk over one add-on folder needs from the scan.
struct FolderWalk {
    std::string stockScenery;  // UTF-8; entries inside it are skipped, letter case ignored
    std::function<void(const std::string&)> showMessage;  // shows and logs
    std::function<bool()> stopRequested;
    // The whole file, read into the buffer, when it holds airports; nothing otherwise.
    std::function<std::optional<std::span<const std::uint8_t>>(const SceneryFile& file,
                                                               std::vector<std::uint8_t>& buffer)>
        readAirportBgl;
    std::function<void(const std::string& path, std::span<const std::uint8_t> bytes)>
        processBglFile;
    // After each airport file of the folder: how many are done of how many found.
    std::function<void(std::size_t done, std::size_t total)> progress;
};

// Whether a scenery file is left out of the scan by its path: statics, heliports and lighting
// add-ons that carry airport records of their own (letter case counts).
bool isExcludedSceneryPath(std::string_view path);

// Hands every airport scenery file below the folder to processBglFile; the files are found
// before the first is processed, so that progress can be told against the total. An entry
// that fails is recorded in the scan messages and the walk goes on.
void scanFolderTree(const std::filesystem::path& folder, const FolderWalk& walk,
                    ScanMessages& messages);

}  // namespace corv::scan
