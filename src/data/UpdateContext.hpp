#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "data/SiteDownloader.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/VersionData.hpp"
#include "settings/SettingsFile.hpp"
#include "status/ControlStates.hpp"

namespace corv::data {

// What the version check and the program update work with; the composition root builds one.
struct UpdateContext {
    SiteDownloader& site;
    settings::SettingsFile& settings;
    status::ControlStates& controls;
    services::MessageLine& messages;
    services::RunState& run;
    std::filesystem::path installFolder;  // the program folder; data files are in its "input"
    services::VersionData programVersion;
    // The system's Program Files folders and whether the process is elevated, which decide
    // the notice beside a downloaded installer.
    std::vector<std::filesystem::path> programFilesFolders;
    bool elevated = false;
    // Shows the folder in the file manager; false (after warning the user) when it could not.
    std::function<bool(const std::filesystem::path&)> showInFileManager;
};

}  // namespace corv::data
