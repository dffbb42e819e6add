#include "liveries/LiverySubsystem.hpp"

#include <algorithm>

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "common/UserErrorException.hpp"
#include "liveries/LiveriesScannedFile.hpp"
#include "liveries/LiveryFolderScan.hpp"
#include "liveries/MatchSummary.hpp"
#include "liveries/MatchingPreparation.hpp"
#include "liveries/ReferenceData.hpp"
#include "liveries/ScanReports.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/ShellOpen.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "status/ControlStates.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
// The livery folders of the settings, in their order. A folder that is set but missing is the
// user's to fix.
std::vector<fs::path> liveryFolders() {
    std::vector<fs::path> folders;
    for (const settings::HiddenText& folder : settings::lfolder) {
        const std::string path = folder.value();
        if (path.empty()) continue;
        std::error_code error;
        if (!fs::exists(path, error)) {
            services::logMarked("{}: '{}' does not exist", folder.name(), path);
            throw UserErrorException(
                243, fmt::format("the path pointed to by parameter '{}' does not exist, see "
                                 "Log.txt!",
                                 folder.name()));
        }
        folders.emplace_back(path);
    }
    return folders;
}

// What the previous scan left behind is removed before a new one writes its own.
void removePreviousScan(const fs::path& output) {
    const fs::path errors = output / "errors";
    try {
        for (const fs::path& file :
             {output / "info" / "AircraftCfgWithNoFltsimSection.txt",
              output / "LiveriesScanned.xml", errors / "InlineRegcodes.txt",
              errors / "InvalidAirlineCodes.txt", errors / "InvalidAircraftCodes.txt",
              errors / "Fixes.txt", errors / "InvalidAircraftCfgFiles.txt",
              errors / "IncompleFltsimSections.txt"}) {
            fs::remove(file);
        }
        if (fs::exists(errors) && fs::is_empty(errors)) fs::remove(errors);
    } catch (const fs::filesystem_error& e) {
        services::log("problems with removing previous files: {}", e.what());
    }
}
}  // namespace

LiverySubsystem::LiverySubsystem(LiveryServices services) : services_(std::move(services)) {}
LiverySubsystem::~LiverySubsystem() = default;

fs::path LiverySubsystem::outputFolder() const {
    return services_.installFolder / "output";
}

RegcodeFolders LiverySubsystem::regcodeFolders() const {
    return {services_.installFolder / "input", outputFolder() / "info", outputFolder() / "errors"};
}

fs::path LiverySubsystem::scannedFile() const {
    return outputFolder() / "LiveriesScanned.xml";
}

bool LiverySubsystem::scannedFileExists() const {
    std::error_code error;
    const bool exists = fs::exists(scannedFile(), error);
    if (error) throw fs::filesystem_error("exists", scannedFile(), error);
    return exists;
}

void LiverySubsystem::scanLiveries() {
    const std::string scanning = fmt::format(
        "Scanning {}for liveries ...", settings::LIG_PRIORITIZE.value() ? "prioritized " : "");
    services_.messages.showMessage(scanning, false);
    services::log(
        "\n++++++++++++++++++++++++ liveries scan {} starts "
        "++++++++++++++++++++++++++++++++",
        "manual");
    const std::vector<fs::path> folders = liveryFolders();
    if (folders.empty()) {
        const services::WarningBox warn = [this](std::string_view caption, std::string_view text) {
            services_.window.showWarning(std::string(caption), std::string(text));
        };
        services::openManual(services_.installFolder, warn);
        services::openParametersFolder(warn);
        throw UserErrorException(48, fmt::format("Exit {} first!   Then set one or more lfolder "
                                                 "parameters to your liveries, see Manual 5.3",
                                                 programName));
    }

    const RegcodeFolders regcodes = regcodeFolders();
    scanned_.clear();
    removePreviousScan(outputFolder());
    const std::vector<std::string> dontUse = loadDontUseTitles(regcodes, services_.messages);
    const std::set<std::string, std::less<>> unusable(dontUse.begin(), dontUse.end());
    TitlesSeen titlesSeen;
    const CfgReadContext context{services_.reference, titlesSeen, unusable};
    FolderScanResult result = scanLiveryFolders(
        folders, context,
        {settings::LIG_PRIORITIZE.value(), static_cast<unsigned>(services_.run.workerCount),
         [this] { return services_.run.stopOrClosed(); }, scanProgress(scanning)});
    if (!result.liveries.empty()) {
        writeLiveriesScanned(scannedFile(), result.liveries, services_.reference,
                             services_.metaSimNumber.load());
    }
    writeScanReports(result.report, regcodes.errors, regcodes.info);
    services_.messages.clearMessage();
    // A scan cut short by the user closing the program found nothing because it stopped.
    if (result.liveries.empty() && services_.run.stopOrClosed()) return;
    if (result.liveries.empty()) throw UserErrorException(53, "no liveries found");
    scanned_ = std::move(result.liveries);
    services::log(
        "\n++++++++++++++++++++++++ liveries scan ends "
        "++++++++++++++++++++++++++++++++\n");

    // Scanned once; the next start reads the stored scan unless the user asks again.
    settings::SCAN_LIVERIES.setCurrent(false);
    services_.settings.saveFlag(settings::SCAN_LIVERIES);
    services_.controls.setChecked(settings::SCAN_LIVERIES.controlId, false);
}

bool LiverySubsystem::processScannedLiveries() {
    if (indexes_) return false;
    if (scanned_.empty()) {
        try {
            scanned_ = readLiveriesScanned(scannedFile(), services_.reference);
        } catch (const UserErrorException& e) {
            // A damaged stored scan is replaced by a new one, never taken as "no liveries".
            services::logMarked("{}; scanning again", e.message());
            scanLiveries();
        }
    }
    showLiveryCount(scanned_.size());
    const SwitchOff switchOff = [this](settings::CheckBox& box) {
        box.setCurrent(false);
        services_.settings.saveFlag(box);
        services_.controls.setChecked(box.controlId, false);
    };
    indexes_ = prepareMatching(scanned_, services_.reference, regcodeFolders(), services_.messages,
                               switchOff);
    scanned_.clear();
    scanned_.shrink_to_fit();
    return true;
}

void LiverySubsystem::clearLiveryData() {
    indexes_.reset();
    scanned_.clear();
    runState_ = MatchRunState{};
}

void LiverySubsystem::logMatchingSummary() {
    logMatchSummary(runState_);
    logNoMatches(runState_);
    runState_ = MatchRunState{};
}

ScanProgress LiverySubsystem::scanProgress(const std::string& scanning) {
    // A percent step in the message line, a tenth in the log: a large scan is seen to move
    // without a repaint or a log line per file.
    return [this, scanning, shownPercent = -1, loggedTenth = 0](std::size_t read,
                                                                std::size_t total) mutable {
        const int percent = static_cast<int>(read * 100 / std::max<std::size_t>(total, 1));
        if (percent != shownPercent) {
            shownPercent = percent;
            services_.messages.showMessage(fmt::format("{} {} / {} files", scanning, read, total),
                                           false);
        }
        if (percent / 10 > loggedTenth || read == total) {
            loggedTenth = percent / 10;
            services::log("{} of {} aircraft.cfg files read", read, total);
        }
    };
}

void LiverySubsystem::showLiveryCount(std::size_t count) {
    services_.display.update(
        [count](status::DisplaySnapshot& d) { d.liveryCount = static_cast<int>(count); });
    services_.window.repaintBand(status::Band::Status);
}

}  // namespace corv::liveries
