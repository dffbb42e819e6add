#pragma once

#include "airports/AirportsPort.hpp"
#include "data/DataFilesPort.hpp"
#include "live/TrafficPort.hpp"
#include "liveries/LiveriesPort.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "scan/AddonScanPort.hpp"
#include "sim/SimulatorPort.hpp"

namespace corv::run {

// The subsystems a run drives, as the composition root wires them.
struct Subsystems {
    data::DataFilesPort& dataFiles;
    liveries::LiveriesPort& liveries;
    airports::AirportsPort& airports;
    scan::AddonScanPort& addonScan;
    sim::SimulatorPort& simulator;
    realtraffic::RealTrafficPort& realTraffic;
    live::TrafficPort& traffic;
};

}  // namespace corv::run
