#include "app/Program.hpp"

#include <fmt/format.h>

#include <cstdlib>

#include "airports/NearestStand.hpp"
#include "common/ProgramIdentity.hpp"
#include "data/DownloadSite.hpp"
#include "platform/Elevation.hpp"
#include "platform/KnownFolders.hpp"
#include "platform/TerminationSignals.hpp"
#include "services/ShellOpen.hpp"
#include "settings/ParameterTable.hpp"
#include "ui/MainWindow.hpp"

namespace corv::app {

namespace {
void sleepFor(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause);
}
}  // namespace

Program::Program(std::filesystem::path installFolder, std::filesystem::path appDataFolder,
                 std::filesystem::path settingsFile, bool productionMode)
    : messages_([this] { repaintBand(status::Band::Message); }),
      settings_(std::move(settingsFile), controls_, runState_.stopRequested),
      site_(data::downloadSiteBase(std::getenv(data::downloadSiteVariable)), messages_,
            runState_.windowClosed),
      dataFiles_(data::UpdateContext{
          site_, settings_, controls_, messages_, runState_, installFolder,
          services::VersionData(programVersionMajor, programVersionMinor, programVersionPatch),
          platform::programFilesFolders(), platform::processIsElevated(),
          [this](const std::filesystem::path& installer) {
              return services::shellOpen(installer.parent_path(),
                                         "Could not open File Explorer at new version",
                                         [this](std::string_view caption, std::string_view text) {
                                             showWarning(std::string(caption), std::string(text));
                                         });
          }}),
      liveries_(liveries::LiveryServices{runState_, messages_, settings_, controls_, display_,
                                         *this, referenceData_, installFolder, metaSimNumber_}),
      addonScan_(scan::AddonScanServices{runState_, messages_, settings_, controls_, display_,
                                         *this, catalogue_, referenceData_, installFolder,
                                         metaSimNumber_}),
      simulator_(sim::SimClientContext{runState_, messages_, display_, *this, catalogue_,
                                       referenceData_, appDataFolder, sleepFor,
                                       [this](const airports::AirportCode& code,
                                              const common::GeoPoint& at, std::string& standId) {
                                           return airports::gf_readDestApfForClosestStand(
                                               airportFiles_.workFolder, catalogue_, site_, code,
                                               at, standId);
                                       },
                                       [this] { airports_.requestRememberUserStand(); }},
                 [this] { return connectSimulator(); }),
      realTraffic_(
          runState_, messages_, display_, *this, simulator_, [this] { traffic_.removeAllLive(); },
          referenceData_),
      airportSettings_{controls_, [this](int nauticalMiles) { commands_.setRange(nauticalMiles); }},
      airportFiles_{installFolder,    catalogue_, site_,         identities_,
                    airportSettings_, messages_,  metaSimNumber_},
      statics_(parking::StaticServices{loadedAirport_, identities_, referenceData_, liveries_,
                                       random_, messages_}),
      parkingControls_(commands_, requests_, display_),
      airports_(
          parking::ParkAirportServices{airportFiles_, loadedAirport_, statics_, simulator_,
                                       realTraffic_, display_, *this, parkingControls_, timeKeyNow_,
                                       [this](const std::optional<realtraffic::ParkAirport>& park) {
                                           realTraffic_.setParkAirport(park);
                                           traffic_.setParkAirport(park);
                                       }}),
      traffic_(live::LiveServices{runState_, messages_, display_, *this, controls_, referenceData_,
                                  liveries_, simulator_, realTraffic_, random_, timeKeyNow_,
                                  &statics_, &loadedAirport_}),
      context_{runState_,
               messages_,
               settings_,
               controls_,
               *this,
               display_,
               requests_,
               run::Subsystems{dataFiles_, liveries_, airports_, addonScan_, simulator_,
                               realTraffic_, traffic_},
               referenceData_,
               catalogue_,
               timeKeyNow_,
               std::move(installFolder),
               std::move(appDataFolder),
               sleepFor,
               metaSimNumber_},
      commands_(context_),
      run_(context_, commands_) {
    runState_.productionMode = productionMode;
    statics_.setLiveView(traffic_);
    airports_.setLiveView(traffic_);
}

Program::~Program() = default;

std::shared_ptr<sim::SimOperations> Program::connectSimulator() {
    const std::filesystem::path folder = settings::SIM_INSTALL_PATH.value();
    if (!standIn_ || folder != standInFolder_) {
        std::vector<std::filesystem::path> liveryFolders;
        for (const settings::HiddenText& configured : settings::lfolder) {
            if (!configured.value().empty()) liveryFolders.emplace_back(configured.value());
        }
        standIn_ = std::make_shared<sim::standin::StandInSimulator>(
            folder, std::move(liveryFolders), catalogue_);
        standInFolder_ = folder;
    }
    return standIn_;
}

int Program::run() {
    ui::MainWindow window(*this, messages_, display_, settings_, controls_);
    window_ = &window;
    if (const int signals = platform::watchTerminationSignals(); signals >= 0) {
        window.watchDescriptor(signals, [this, signals] {
            platform::drainTerminationSignals(signals);
            onCloseClicked();
        });
    }
    window.postStart();
    const int exitCode = window.run();
    // The run has posted the quit as its last act; let it finish before the window goes.
    if (startUpThread_.joinable()) startUpThread_.join();
    window_ = nullptr;
    return exitCode;
}

void Program::onStartMessage() {
    // The previous run ended by posting this message; it has nothing left to do.
    if (startUpThread_.joinable()) startUpThread_.join();
    startUpThread_ = std::jthread([this] { run_.lf_startUpCorvane(); });
}

void Program::onCloseClicked() {
    messages_.showMessage(fmt::format("Close window button clicked, closing {} ...", programName),
                          false);
    runState_.userClosedWindow = true;
    runState_.windowClosed = true;
    runState_.requestStop(services::ExitReason::UserClosedSim, 0);
    // The flags come first: what the closed sockets make fail is then known as shutting down.
    realTraffic_.stopPositionServer();
}

bool Program::onCommand(status::ControlId id) {
    return commands_.lf_HandleWMCOMMAND(id);
}

void Program::onListSelected(status::ControlId id, int index, const std::string& text) {
    commands_.onListSelected(id, index, text);
}

void Program::onEditEnter(status::ControlId id, const std::string& text) {
    commands_.onEditEnter(id, text);
}

void Program::postStart() {
    if (ui::MainWindow* window = window_) window->postStart();
}

void Program::postQuit(int processExitCode) {
    if (ui::MainWindow* window = window_) window->postQuit(processExitCode);
}

void Program::repaintBand(status::Band band) {
    if (ui::MainWindow* window = window_) window->repaintBand(band);
}

void Program::setTopmost(bool topmost) {
    if (ui::MainWindow* window = window_) window->setTopmost(topmost);
}

void Program::showWarning(std::string caption, std::string text) {
    if (ui::MainWindow* window = window_) window->showWarning(std::move(caption), std::move(text));
}

}  // namespace corv::app
