#pragma once

#include <filesystem>
#include <optional>

namespace corv::platform {

// The user's roaming application-data folder: $XDG_CONFIG_HOME, else ~/.config.
// Nothing when neither can be determined.
std::optional<std::filesystem::path> roamingAppDataFolder();

}  // namespace corv::platform
