#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace corv::platform {

// The user's roaming application-data folder: $XDG_CONFIG_HOME, else ~/.config.
// Nothing when neither can be determined.
std::optional<std::filesystem::path> roamingAppDataFolder();

// The system's folders for installed programs (Program Files and Program Files (x86)), where
// only an administrator may write. None on this platform.
std::vector<std::filesystem::path> programFilesFolders();

}  // namespace corv::platform
