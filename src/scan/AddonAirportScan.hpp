#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "airports/NoAircraftIdentities.hpp"
#include "scan/AddonScanPort.hpp"
#include "scan/ScanFoldersRun.hpp"

namespace corv::services {
class MessageLine;
class RunState;
}  // namespace corv::services
namespace corv::settings {
class SettingsFile;
}
namespace corv::status {
class ControlStates;
class DisplayState;
class WindowSeam;
}  // namespace corv::status
namespace corv::airports {
class AirportCatalogue;
}
namespace corv::liveries {
class ReferenceData;
}

namespace corv::scan {

// What the add-on airport scan works with, created once by the composition root.
struct AddonScanServices {
    services::RunState& run;
    services::MessageLine& messages;
    settings::SettingsFile& settings;
    status::ControlStates& controls;
    status::DisplayState& display;
    status::WindowSeam& window;
    const airports::AirportCatalogue& catalogue;
    const liveries::ReferenceData& reference;
    std::filesystem::path installFolder;  // the working folder
    const std::atomic<int>& metaSimNumber;
};

// The scan of the add-on airport scenery named by the afolder settings: rebuilds
// airports/my_ORBX and airports/my_thirdparty, writes the scan log and leaves the airports the
// archive lacks zipped in tblo/tblo.zip for mailing. Runs on the start-up thread.
class AddonAirportScan final : public AddonScanPort {
  public:
    explicit AddonAirportScan(AddonScanServices services);

    // Throws corv::UserErrorException 522 (no ICAO list), 49 (no afolder set) or 42 (an
    // afolder inside the stock scenery) before any airport folder is emptied.
    void scanAddonAirports() override;

  private:
    std::function<bool(const common::FixedCode<4>&)> isRtSupported() const;
    std::string stockScenery() const;
    std::vector<std::filesystem::path> scanFolderList(const std::string& stockScenery);
    FolderWalk folderWalk(const std::string& stockScenery, ScanMessages& messages);
    ScanDisplay scanDisplay();
    void showAddonCounts(std::size_t orbx, std::size_t thirdParty);
    void showAddonCountsNow();
    void switchScanOff();

    AddonScanServices services_;
    ScanPaths paths_;
    const airports::NoAircraftIdentities identities_;
};

}  // namespace corv::scan
