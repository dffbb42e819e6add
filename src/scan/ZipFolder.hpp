#pragma once

#include <filesystem>

namespace corv::scan {

// Zips the regular files directly in the folder (no subfolders) into a new archive at zipPath,
// each under its file name; every step is logged with the prefix "[zip]". True when at least
// one file went in and the archive exists and is not empty.
bool zipFolder(const std::filesystem::path& folder, const std::filesystem::path& zipPath);

}  // namespace corv::scan
