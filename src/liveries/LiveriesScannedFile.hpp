#pragma once

#include <filesystem>
#include <vector>

#include "liveries/LiveryData.hpp"

namespace corv::liveries {

class ReferenceData;

// "LiveriesScanned.xml": the result of a scan, so that later starts need not scan again.
// <root><meta .../><liveries><l a="KLM" o="KLC" m="E190" c="true" t="title" r="PH-EZA"/>...
// "o", "c" and "r" are written only when they say something. The file is replaced atomically,
// so a crash while writing leaves the previous scan readable.
void writeLiveriesScanned(const std::filesystem::path& path,
                          const std::vector<LiveryData>& liveries, const ReferenceData& reference,
                          int simNumber);

// The liveries of the file, sorted by title, with folder rank 0. Throws corv::UserErrorException:
// 51 the file cannot be loaded, 52 it has no <liveries>, 999 a record misses "a", "m" or "t",
// 533 it holds no livery. Any of them means: scan again.
std::vector<LiveryData> readLiveriesScanned(const std::filesystem::path& path,
                                            ReferenceData& reference);

}  // namespace corv::liveries
