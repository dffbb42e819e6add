#pragma once

#include <filesystem>
#include <functional>

#include "common/FixedCode.hpp"
#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// Copies the airport files the scan had to generate (CODE.xml of supported airports in the
// third-party folder) into the collection folder; a generated file whose airport also has a
// link file there is removed, since the link wins anyway.
void collectForOfflineLearning(const std::filesystem::path& thirdPartyFolder,
                               const std::filesystem::path& collectionFolder,
                               const std::function<bool(const common::FixedCode<4>&)>& isRtSupported);

// Writes the scan messages one per line; false when the file cannot be opened.
bool writeScanLog(const std::filesystem::path& path, const ScanMessages& messages);

}  // namespace corv::scan
