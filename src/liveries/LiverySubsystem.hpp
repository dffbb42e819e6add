#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "liveries/LiveriesPort.hpp"
#include "liveries/LiveryData.hpp"
#include "liveries/LiveryFolderScan.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/MatchRunState.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/OfflineRegcodes.hpp"

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

namespace corv::liveries {

class ReferenceData;

// What the livery subsystem works with, created once by the composition root.
struct LiveryServices {
    services::RunState& run;
    services::MessageLine& messages;
    settings::SettingsFile& settings;
    status::ControlStates& controls;
    status::DisplayState& display;
    status::WindowSeam& window;
    ReferenceData& reference;
    std::filesystem::path installFolder;  // holds "input" and "output"
    const std::atomic<int>& metaSimNumber;
};

// The installed liveries for the run: the scan of the livery folders (or the stored scan), and
// the matching indexes built from it once per program start.
class LiverySubsystem final : public LiveriesPort, public LiverySource {
  public:
    explicit LiverySubsystem(LiveryServices services);
    ~LiverySubsystem() override;

    bool scannedFileExists() const override;
    // Throws corv::UserErrorException 243 (a livery folder does not exist), 48 (none is set)
    // or 53 (no livery found).
    void scanLiveries() override;
    bool processScannedLiveries() override;
    void clearLiveryData() override;
    void logMatchingSummary() override;

    const MatchingIndexes* indexes() const override { return indexes_.get(); }
    MatchRunState& runState() override { return runState_; }

  private:
    std::filesystem::path outputFolder() const;
    RegcodeFolders regcodeFolders() const;
    std::filesystem::path scannedFile() const;
    void showLiveryCount(std::size_t count);
    ScanProgress scanProgress(const std::string& scanning);

    LiveryServices services_;
    std::vector<LiveryData> scanned_;  // from the scan until the indexes are built
    std::unique_ptr<MatchingIndexes> indexes_;
    MatchRunState runState_;
};

}  // namespace corv::liveries
