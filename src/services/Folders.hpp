#pragma once

#include <filesystem>

namespace corv::services {

// The user's roaming application-data folder; empty (after a marked log line) when unknown.
std::filesystem::path appDataPath();

// "Corvane_P3D" below the application-data folder: holds parameters.xml.
std::filesystem::path programDataFolder();

// The working folders below the installation folder, created with their parents when missing;
// the object-id list of the previous run is deleted. Throws std::filesystem::filesystem_error
// when a folder's status cannot be read.
void createFolderTree(const std::filesystem::path& installFolder);

}  // namespace corv::services
