#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corv::scan {

// One of the afolder settings: its name and its value (UTF-8).
struct FolderSetting {
    std::string name;
    std::string value;
};

// The folders to scan, in the order of the settings, empty values left out. A value inside the
// stock scenery folder (byte-wise, letter case counts) throws corv::UserErrorException 42.
std::vector<std::filesystem::path> collectScanFolders(const std::vector<FolderSetting>& settings,
                                                      const std::string& stockScenery);

// The error for a scan without any folder: the user has to set one while the program is closed.
[[noreturn]] void throwNoScanFolders();

}  // namespace corv::scan
