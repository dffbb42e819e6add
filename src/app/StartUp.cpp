#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <thread>

#include <fmt/format.h>

#include "airports/ReadAirports.hpp"
#include "app/Run.hpp"
#include "app/SimulatorInstall.hpp"
#include "common/ProgramIdentity.hpp"
#include "common/UserErrorException.hpp"
#include "realtraffic/PositionServer.hpp"
#include "services/FileHelpers.hpp"
#include "services/Folders.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"
#include "ui/ControlsAfterRead.hpp"
#include "ui/commands/Commands.hpp"

namespace corv::app {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using settings::ALL_INSTALL_PATH;
using settings::SIM_INSTALL_PATH;

void Run::lf_startUpCorvane() {
    try {
        startUpSteps();
    } catch (const UserErrorException& e) {
        ctx_.messages.showError(e.what());
        ctx_.run.forceReason(services::ExitReason::SystemError);
    } catch (const fmt::format_error& e) {
        onStartUpFailure(std::string("std::format error: ") + e.what(), false);
        onStartUpFailure(e.what(), true);
    } catch (const std::bad_alloc& e) {
        onStartUpFailure(e.what(), true);
    } catch (const std::exception& e) {
        onStartUpFailure(e.what(), true);
    } catch (...) {
        ctx_.messages.showError("Unknown exception");
        ctx_.run.forceReason(services::ExitReason::SystemError);
    }
    lf_closingDown();
}

void Run::onStartUpFailure(const std::string& text, bool requestStop) {
    ctx_.messages.showError(text);
    if (requestStop) ctx_.run.requestStop(services::ExitReason::SystemError, 0);
}

void Run::startUpSteps() {
    // The program runs with its installation folder as working folder.
    if (!fs::is_directory(ctx_.installFolder / "docs")) {
        throw UserErrorException(
            41, fmt::format("{} must be run from the {} folder!", programName, programName));
    }
    if (!readDataFiles()) return;

    // The plain data files exist only while they are read.
    for (const char* plain : {"airports.xml", "AIG-regcodes.xml", "dbase.xml"}) {
        services::removeFileWarn(ctx_.installFolder / "input" / plain);
    }
    const fs::path stockAirports = fs::path(SIM_INSTALL_PATH.value()) / "Scenery";
    if (std::error_code ec; !fs::exists(stockAirports, ec)) {
        ctx_.messages.showMessage(
            fmt::format("Stock airports path does not exist: {}", stockAirports.string()), false);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    ctx_.run.workerCount = cores < 1 ? 2 : static_cast<int>(cores);

    liveries::LiveriesPort& liveries = ctx_.subsystems.liveries;
    if (settings::SCAN_LIVERIES.value() || !liveries.scannedFileExists()) liveries.scanLiveries();
    if (!liveries.processScannedLiveries()) {
        services::log("Processing scanned liveries skipped; already done in previous start-up");
    }

    if (!ctx_.run.stopOrClosed() && settings::SCAN_AIRPORTS.value()) {
        ctx_.display.update(
            [](status::DisplaySnapshot& d) { d.simaddonCount = d.thirdpartyCount = 0; });
        ctx_.window.repaintBand(status::Band::Status);
        ctx_.subsystems.addonScan.scanAddonAirports();
    }
    if (ctx_.run.stopOrClosed()) return endEarly();

    const int simaddon =
        static_cast<int>(services::countFolderEntries(ctx_.installFolder / "airports" / "my_ORBX"));
    const int thirdparty = static_cast<int>(
        services::countFolderEntries(ctx_.installFolder / "airports" / "my_thirdparty"));
    ctx_.display.update([&](status::DisplaySnapshot& d) {
        d.simaddonCount = simaddon;
        d.thirdpartyCount = thirdparty;
    });
    ctx_.window.repaintBand(status::Band::Status);
    if (ctx_.run.stopOrClosed()) return endEarly();

    ctx_.subsystems.simulator.createFlightPlanFolder();
    ctx_.subsystems.airports.readParkAirportList();
    ctx_.controls.setEnabled(status::button::reRead, true);
    if (const std::string destination = settings::DESTINATION.value();
        !destination.empty() && ctx_.catalogue.isRtSupported(destination)) {
        commands_.applyDestination(destination);
    }
    ctx_.window.setTopmost(settings::ALWAYS_ON_TOP.value());

    if (startRun()) {
        runCycle();
    } else {
        endEarly();
    }
}

void Run::endEarly() {
    ctx_.run.windowClosed = true;
    // The reason is published with the stop, and both before the sockets close.
    ctx_.run.requestStop(services::ExitReason::UserClosedSim, 0);
    ctx_.subsystems.realTraffic.stopPositionServer();
}

bool Run::readDataFiles() {
    ctx_.settings.convertSettingsIfNeeded(ctx_.installFolder);
    ctx_.window.repaintBand(status::Band::Controls);
    ui::enableControlsAfterRead(ctx_.controls, ctx_.metaSimNumber);
    commands_.setControlsReady(true);
    services::createFolderTree(ctx_.installFolder);

    if (!ctx_.run.isRestart && !ctx_.subsystems.dataFiles.checkForUpdates()) return false;

    ctx_.timeKeyNow = airports::currentTimeKey();
    const fs::path input = ctx_.installFolder / "input";
    if (!ctx_.referenceDataRead) {
        if (!ctx_.referenceData.load(input)) throw std::runtime_error("reading data files failed!");
        ctx_.referenceDataRead = true;
    }
    if (!airports::gf_readAirports(ctx_.catalogue, input)) {
        throw std::runtime_error(
            fmt::format("reading '{}' failed!", (fs::path("input") / "airports.enc").string()));
    }

    ALL_INSTALL_PATH.setCurrent(SIM_INSTALL_PATH.value());
    ctx_.controls.setEnabled(ALL_INSTALL_PATH.controlId, true);
    ALL_INSTALL_PATH.showCurrent(ctx_.controls);
    if (ALL_INSTALL_PATH.value().empty())
        detectSimulator(ctx_.messages, ctx_.settings, ctx_.controls);
    ctx_.window.repaintBand(status::Band::Status);

    if (ctx_.run.productionMode) {
        try {
            services::log("production");
            ctx_.run.processExitCode = 0;
            endEarly();
        } catch (const std::exception& e) {
            services::logMarked("exception {}", e.what());
            ctx_.run.processExitCode = 1;
        }
        return false;
    }

    using realtraffic::RealTrafficLocation;
    if (settings::RT_IP_ADDRESS.value() != settings::RT_IP_ADDRESS.defaultValue()) {
        ctx_.realTrafficLocation = RealTrafficLocation::Remote;
    } else {
        std::error_code ec;
        const bool installed =
            fs::exists(ctx_.appDataFolder / "InsideSystems" / "RealTraffic.jar", ec);
        ctx_.realTrafficLocation =
            installed ? RealTrafficLocation::Local : RealTrafficLocation::NotDetected;
        ctx_.messages.showMessage(
            fmt::format("RealTraffic {}detected at this PC", installed ? "" : "not "), true);
    }
    ctx_.subsystems.realTraffic.setLocation(ctx_.realTrafficLocation);
    return true;
}

bool Run::startRun() {
    ctx_.display.update([](status::DisplaySnapshot& d) { d.rtConnected = false; });
    ctx_.window.repaintBand(status::Band::Status);
    ctx_.display.update([](status::DisplaySnapshot& d) { d.simConnected = false; });
    ctx_.window.repaintBand(status::Band::Status);

    if (!ctx_.capacityReserved) {
        ctx_.subsystems.traffic.reserveCapacity();
        ctx_.capacityReserved = true;
    }

    sim::SimulatorPort& simulator = ctx_.subsystems.simulator;
    simulator.expectMajorVersion(simMajorVersionText());
    ctx_.window.repaintBand(status::Band::Status);
    simulator.startClient();
    if (!simulator.handshake()) return false;

    if (settings::AUTO_RANGE.value()) commands_.computeAutoRadius();

    realtraffic::RealTrafficPort& realTraffic = ctx_.subsystems.realTraffic;
    const bool aerowinx = settings::AEROWINX.value();
    // Without RealTraffic on this PC (and in Aerowinx mode) no connection is awaited.
    const bool awaitConnection =
        !aerowinx && ctx_.realTrafficLocation != realtraffic::RealTrafficLocation::NotDetected;
    if (awaitConnection) {
        realTraffic.startPositionServer(settings::PORT_NUMBER.value());
    } else {
        ctx_.display.update([](status::DisplaySnapshot& d) { d.rtConnected = true; });
    }

    if (ctx_.run.stopOrClosed()) return false;
    ctx_.display.update([](status::DisplaySnapshot& d) { d.rtSetup = false; });
    ctx_.window.repaintBand(status::Band::Status);
    if (awaitConnection) {
        const bool connected = realTraffic.waitForFirstConnection();
        // The wait is over; its message would otherwise stay until it times out.
        ctx_.messages.withdrawMessage(realtraffic::waitingForRealTrafficText());
        if (connected) realTraffic.sendSimTime();
    }

    if (ctx_.run.stopOrClosed()) return false;
    realTraffic.setAcceptingTraffic(false);
    realTraffic.startReceivers();

    realTraffic.sendUserPosition();
    realTraffic.setReferencePositionFromUser();

    bool trafficArrived = false;
    for (int poll = 0; poll < 150 && !ctx_.run.stopOrClosed(); ++poll) {
        if ((trafficArrived = realTraffic.firstReportTime() != 0)) break;
        ctx_.sleep(100ms);
    }
    if (!trafficArrived) services::log("No traffic in this region?");
    ctx_.timeKeyNow = airports::currentTimeKey();
    return true;
}

}  // namespace corv::app
