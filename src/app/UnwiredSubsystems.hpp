#pragma once

#include <string>

#include "data/SiteDownloader.hpp"
#include "run/Subsystems.hpp"

namespace corv::app {

// The subsystems as they behave while nothing of them is installed: no updates,
// no add-on scan, no download site. Each is replaced by the real one as it is
// built.

class UnwiredDataFiles final : public data::DataFilesPort {
  public:
    bool checkForUpdates() override { return true; }
};

// No download site is wired yet: every download fails, so only local airport files are read.
class NoDownloadSite final : public data::SiteDownloader {
  public:
    bool download(std::string_view, const std::filesystem::path&) override { return false; }
    std::string addressOf(std::string_view sitePath) const override {
        return std::string(sitePath);
    }
};

class UnwiredAddonScan final : public scan::AddonScanPort {
  public:
    void scanAddonAirports() override {}
};

}  // namespace corv::app
