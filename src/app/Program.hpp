#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "app/MessageLine.hpp"
#include "app/Run.hpp"
#include "app/RunContext.hpp"
#include "app/RunState.hpp"
#include "app/UnwiredSubsystems.hpp"
#include "common/TrafficRadius.hpp"
#include "realtraffic/RealTrafficLink.hpp"
#include "settings/SettingsFile.hpp"
#include "sim/SimClient.hpp"
#include "sim/standin/StandInSimulator.hpp"
#include "ui/CommandRequests.hpp"
#include "ui/DisplayState.hpp"
#include "ui/FltkControls.hpp"
#include "ui/WindowSeam.hpp"
#include "ui/commands/Commands.hpp"

namespace corv::ui {
class MainWindow;
}

namespace corv::app {

// The composition root: creates every piece of the program, the window on the calling
// (window) thread, and a start-up thread per run.
class Program final : public ui::WindowOwner, public ui::WindowSeam {
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
    bool onCommand(ui::ControlId id) override;
    void onListSelected(ui::ControlId id, int index, const std::string& text) override;
    void onEditEnter(ui::ControlId id, const std::string& text) override;

    // What the run asks of the window, passed on while the window exists.
    void postStart() override;
    void postQuit(int processExitCode) override;
    void repaintBand(ui::Band band) override;
    void setTopmost(bool topmost) override;
    void showWarning(std::string caption, std::string text) override;

  private:
    std::shared_ptr<sim::SimOperations> connectSimulator();

    RunState runState_;
    ui::FltkControls controls_;
    ui::DisplayState display_;
    ui::CommandRequests requests_;
    common::TrafficRadius radius_;
    std::atomic<int> metaSimNumber_{1};
    std::atomic<ui::MainWindow*> window_{nullptr};
    MessageLine messages_;
    settings::SettingsFile settings_;

    liveries::ReferenceData referenceData_;
    airports::AirportCatalogue catalogue_;
    std::atomic<airports::TimeKey> timeKeyNow_{};
    UnwiredDataFiles dataFiles_;
    UnwiredLiveries liveries_;
    UnwiredAirports airports_;
    UnwiredAddonScan addonScan_;
    UnwiredTraffic traffic_;
    // The simulator: on this platform the stand-in, kept across runs so its scenario runs on.
    std::shared_ptr<sim::standin::StandInSimulator> standIn_;
    std::filesystem::path standInFolder_;
    sim::SimClient simulator_;
    realtraffic::RealTrafficLink realTraffic_;

    RunContext context_;
    ui::Commands commands_;
    Run run_;
    std::jthread startUpThread_;
};

}  // namespace corv::app
