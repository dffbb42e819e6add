#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "airports/AirportFilesContext.hpp"
#include "airports/LoadedAirport.hpp"
#include "app/ParkingControlsLink.hpp"
#include "app/RealTrafficLink.hpp"
#include "app/Run.hpp"
#include "data/CurlGlobal.hpp"
#include "data/CurlSiteDownloader.hpp"
#include "data/VersionCheck.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/LiverySubsystem.hpp"
#include "liveries/RandomSource.hpp"
#include "parking/ParkAirports.hpp"
#include "parking/ReferenceIdentities.hpp"
#include "parking/StaticParking.hpp"
#include "run/CommandRequests.hpp"
#include "run/RunContext.hpp"
#include "scan/AddonAirportScan.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "settings/SettingsFile.hpp"
#include "sim/SimClient.hpp"
#include "sim/standin/StandInSimulator.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"
#include "ui/FltkControls.hpp"
#include "ui/commands/Commands.hpp"

namespace corv::ui {
class MainWindow;
}

namespace corv::app {

// The composition root: creates every piece of the program, the window on the calling
// (window) thread, and a start-up thread per run.
class Program final : public status::WindowOwner, public status::WindowSeam {
  public:
    Program(std::filesystem::path installFolder, std::filesystem::path appDataFolder,
            std::filesystem::path settingsFile, bool productionMode);
    ~Program() override;

    // Creates the window, starts the first run and handles the window until the program quits.
    // Returns the process exit code.
    int run();

    // What the window hands over.
    void onStartMessage() override;
    void onCloseClicked() override;
    bool onCommand(status::ControlId id) override;
    void onListSelected(status::ControlId id, int index, const std::string& text) override;
    void onEditEnter(status::ControlId id, const std::string& text) override;

    // What the run asks of the window, passed on while the window exists.
    void postStart() override;
    void postQuit(int processExitCode) override;
    void repaintBand(status::Band band) override;
    void setTopmost(bool topmost) override;
    void showWarning(std::string caption, std::string text) override;

  private:
    std::shared_ptr<sim::SimOperations> connectSimulator();

    data::CurlGlobal curl_;  // before anything that downloads
    services::RunState runState_;
    ui::FltkControls controls_;
    status::DisplayState display_;
    run::CommandRequests requests_;
    std::atomic<int> metaSimNumber_{1};
    std::atomic<ui::MainWindow*> window_{nullptr};
    services::MessageLine messages_;
    settings::SettingsFile settings_;
    // The download site, for the version check and the airports' stand files.
    data::CurlSiteDownloader site_;

    liveries::ReferenceData referenceData_;
    airports::AirportCatalogue catalogue_;
    std::atomic<airports::TimeKey> timeKeyNow_{};
    data::VersionCheck dataFiles_;
    liveries::LiverySubsystem liveries_;
    scan::AddonAirportScan addonScan_;
    // The simulator: on this platform the stand-in, kept across runs so its scenario runs on.
    std::shared_ptr<sim::standin::StandInSimulator> standIn_;
    std::filesystem::path standInFolder_;
    sim::SimClient simulator_;
    app::RealTrafficLink realTraffic_;
    liveries::UniformRandom random_;

    // The airport files and the park airport with its static aircraft.
    parking::ReferenceIdentities identities_{referenceData_};
    airports::SettingsControls airportSettings_;
    airports::AirportFilesContext airportFiles_;
    airports::LoadedAirport loadedAirport_;
    parking::StaticParking statics_;
    ParkingControlsLink parkingControls_;
    parking::ParkAirports airports_;

    live::LiveTraffic traffic_;  // after what it uses, so nothing is used before it exists

    run::RunContext context_;
    ui::Commands commands_;
    Run run_;
    std::jthread startUpThread_;
};

}  // namespace corv::app
