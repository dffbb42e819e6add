#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>

#include "airports/AirportCatalogue.hpp"
#include "airports/TimeKey.hpp"
#include "app/MessageLine.hpp"
#include "app/RunState.hpp"
#include "app/Subsystems.hpp"
#include "common/TrafficRadius.hpp"
#include "liveries/ReferenceData.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "settings/SettingsFile.hpp"
#include "ui/CommandRequests.hpp"
#include "ui/ControlStates.hpp"
#include "ui/DisplayState.hpp"
#include "ui/WindowSeam.hpp"

namespace corv::app {

// Pauses the calling thread; tests pass one that only records.
using Sleeper = std::function<void(std::chrono::milliseconds)>;

// Everything a run works with, created once by the composition root.
struct RunContext {
    RunState& run;
    MessageLine& messages;
    settings::SettingsFile& settings;
    ui::ControlStates& controls;
    ui::WindowSeam& window;
    ui::DisplayState& display;
    ui::CommandRequests& requests;
    common::TrafficRadius& radius;
    Subsystems subsystems;
    liveries::ReferenceData& referenceData;
    airports::AirportCatalogue& catalogue;
    // The current UTC weekday and half hour, refreshed by the run.
    std::atomic<airports::TimeKey>& timeKeyNow;
    std::filesystem::path installFolder;
    std::filesystem::path appDataFolder;  // the user's roaming application-data folder
    Sleeper sleep;
    // The simulator number written into the meta block of the program's XML files.
    std::atomic<int>& metaSimNumber;

    realtraffic::RealTrafficLocation realTrafficLocation =
        realtraffic::RealTrafficLocation::NotDetected;
    bool referenceDataRead = false;  // once per process
    bool capacityReserved = false;   // once per process
};

}  // namespace corv::app
