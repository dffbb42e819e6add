#include "scan/AddonAirportScan.hpp"

#include <algorithm>
#include <span>
#include <vector>

#include <fmt/format.h>

#include "airports/AirportCatalogue.hpp"
#include "liveries/ReferenceData.hpp"
#include "scan/AirportBglRead.hpp"
#include "scan/ArchiveLink.hpp"
#include "scan/BglAirportFile.hpp"
#include "scan/FullAirportFile.hpp"
#include "scan/GeneratedAirportFile.hpp"
#include "scan/IcaoAirportCodes.hpp"
#include "scan/ScanFolders.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/ShellOpen.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "status/ControlIds.hpp"
#include "status/ControlStates.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::scan {
namespace {

namespace fs = std::filesystem;

// The collection folder starts empty; a failing status query or creation ends the start-up.
void prepareCollectionFolder(const fs::path& folder) {
    if (fs::exists(folder))
        services::gf_removeFilesFromDirectory(folder);
    else
        fs::create_directory(folder);
}

}  // namespace

AddonAirportScan::AddonAirportScan(AddonScanServices services)
    : services_(std::move(services)), paths_{services_.installFolder} {}

void AddonAirportScan::scanAddonAirports() {
    services_.messages.showMessage("Scanning for airports ...", false);
    services::log(
        "\n++++++++++++++++++++++++ airports scan {} starts +++++++++++++++++++++++++++++",
        "manual ");
    showAddonCounts(0, 0);
    // Only counted: a missing list is the sign of a damaged installation.
    readIcaoAirportCodes(services_.installFolder / "input" / "ICAO_airports.txt");
    prepareCollectionFolder(paths_.collectionFolder());
    const std::string stock = stockScenery();
    const std::vector<fs::path> folders = scanFolderList(stock);

    services::gf_removeFilesFromDirectory(paths_.orbxFolder());
    services::gf_removeFilesFromDirectory(paths_.thirdPartyFolder());
    ScanMessages messages;
    std::int64_t mailCount = 0;
    if (!scanFolders(folders, paths_, folderWalk(stock, messages), scanDisplay(), isRtSupported(),
                     messages, mailCount))
        services_.messages.showMessage("Warning: Scan has not found any add-on airports", true);

    switchScanOff();
    if (mailCount == 0) fs::remove_all(paths_.collectionFolder());
    services_.window.repaintBand(status::Band::Status);
    services::log(
        "-------------------------- airports scan ends -------------------------------\n");
}

std::function<bool(const common::FixedCode<4>&)> AddonAirportScan::isRtSupported() const {
    return [this](const common::FixedCode<4>& code) {
        return services_.catalogue.isRtSupported(code);
    };
}

std::string AddonAirportScan::stockScenery() const {
    // Without a simulator installation there is no stock scenery to keep out.
    const std::string simulator = settings::SIM_INSTALL_PATH.value();
    return simulator.empty() ? std::string() : (fs::path(simulator) / "Scenery").string();
}

std::vector<fs::path> AddonAirportScan::scanFolderList(const std::string& stockScenery) {
    std::vector<FolderSetting> settings;
    for (const settings::HiddenText& folder : settings::afolder)
        settings.push_back({folder.name(), folder.value()});
    std::vector<fs::path> folders = collectScanFolders(settings, stockScenery);
    if (folders.empty()) {
        const services::WarningBox warn = [this](std::string_view caption, std::string_view text) {
            services_.window.showWarning(std::string(caption), std::string(text));
        };
        services::openManual(services_.installFolder, warn);
        services::openParametersFolder(warn);
        throwNoScanFolders();
    }
    return folders;
}

FolderWalk AddonAirportScan::folderWalk(const std::string& stockScenery, ScanMessages& messages) {
    const fs::path airportsFolder = services_.installFolder / "airports";
    const PublisherLists lists{services_.reference.publishers(),
                               services_.reference.simAddonAirports(),
                               services_.reference.publisherAirports()};
    const AirportScanSteps steps{
        isRtSupported(),
        [lists, airportsFolder, &messages](ScannedAirport& airport) {
            return linkToArchive(airport, lists, airportsFolder, messages);
        },
        [airportsFolder, &messages,
         writer = fullAirportFileWriter(identities_, services_.metaSimNumber.load())](
            ScannedAirport& airport, int helipads) {
            generateAirportFile(airport, helipads, airportsFolder, writer, messages);
        }};
    // A percent step in the message line: a large scan is seen to move without a repaint per
    // file; the add-on counts follow at the same pace.
    auto progress = [this, shownPercent = -1](std::size_t done, std::size_t total) mutable {
        const int percent = static_cast<int>(done * 100 / std::max<std::size_t>(total, 1));
        if (percent == shownPercent) return;
        shownPercent = percent;
        services_.messages.showMessage(
            fmt::format("Scanning for airports ... {} / {} files", done, total), false);
        showAddonCountsNow();
    };
    return {stockScenery,
            [this](const std::string& text) { services_.messages.showMessage(text, true); },
            [this] { return services_.run.stopOrClosed(); },
            [](const SceneryFile& file, std::vector<std::uint8_t>& buffer) {
                return readAirportBgl(file, buffer);
            },
            [steps, &messages](const std::string& path, std::span<const std::uint8_t> bytes) {
                lf_processBGLfile(bytes, path, messages, steps);
            },
            std::move(progress)};
}

ScanDisplay AddonAirportScan::scanDisplay() {
    return {
        [this](const std::string& text) { services_.messages.showMessage(text, true); },
        [this] { services_.messages.clearMessage(); },
        [this](std::size_t orbx, std::size_t thirdParty) { showAddonCounts(orbx, thirdParty); },
        [this](std::int64_t) {
            services_.controls.setEnabled(status::button::tbloZip, true);
            services_.display.update([](status::DisplaySnapshot& d) { d.tbloRequestShown = true; });
            services_.window.repaintBand(status::Band::Controls);
        }};
}

void AddonAirportScan::showAddonCounts(std::size_t orbx, std::size_t thirdParty) {
    services_.display.update([orbx, thirdParty](status::DisplaySnapshot& d) {
        d.simaddonCount = static_cast<int>(orbx);
        d.thirdpartyCount = static_cast<int>(thirdParty);
    });
    services_.window.repaintBand(status::Band::Status);
}

void AddonAirportScan::showAddonCountsNow() {
    showAddonCounts(services::countFolderEntries(paths_.orbxFolder()),
                    services::countFolderEntries(paths_.thirdPartyFolder()));
}

void AddonAirportScan::switchScanOff() {
    // Scanned once; the next start keeps the folders unless the user asks again.
    settings::SCAN_AIRPORTS.setCurrent(false);
    services_.settings.saveFlag(settings::SCAN_AIRPORTS);
    services_.controls.setChecked(settings::SCAN_AIRPORTS.controlId, false);
    services_.window.repaintBand(status::Band::Controls);
}

}  // namespace corv::scan
