#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>

#include "airports/AirportCatalogue.hpp"
#include "airports/TimeKey.hpp"
#include "liveries/ReferenceData.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "run/CommandRequests.hpp"
#include "run/Subsystems.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/Sleeper.hpp"
#include "settings/SettingsFile.hpp"
#include "status/ControlStates.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::run {

// Everything a run works with, created once by the composition root.
struct RunContext {
    services::RunState& run;
    services::MessageLine& messages;
    settings::SettingsFile& settings;
    status::ControlStates& controls;
    status::WindowSeam& window;
    status::DisplayState& display;
    run::CommandRequests& requests;
    Subsystems subsystems;
    liveries::ReferenceData& referenceData;
    airports::AirportCatalogue& catalogue;
    // The current UTC weekday and half hour, refreshed by the run.
    std::atomic<airports::TimeKey>& timeKeyNow;
    std::filesystem::path installFolder;
    std::filesystem::path appDataFolder;  // the user's roaming application-data folder
    services::Sleeper sleep;
    // The simulator number written into the meta block of the program's XML files.
    std::atomic<int>& metaSimNumber;

    realtraffic::RealTrafficLocation realTrafficLocation =
        realtraffic::RealTrafficLocation::NotDetected;
    bool referenceDataRead = false;  // once per process
    bool capacityReserved = false;   // once per process
};

}  // namespace corv::run
