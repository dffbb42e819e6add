#pragma once

#include <atomic>
#include <filesystem>

#include "airports/AircraftIdentities.hpp"
#include "airports/AirportCatalogue.hpp"
#include "airports/AirportSettings.hpp"
#include "data/SiteDownloader.hpp"
#include "services/MessageLine.hpp"

namespace corv::airports {

// What reading and saving airport files works with; the composition root builds one.
struct AirportFilesContext {
    std::filesystem::path workFolder;  // airport paths are relative to it
    const AirportCatalogue& catalogue;
    data::SiteDownloader& downloader;
    const AircraftIdentities& identities;
    SettingsControls& settings;
    services::MessageLine& messages;
    const std::atomic<int>& metaSimNumber;  // the simulator number written into meta blocks
};

}  // namespace corv::airports
