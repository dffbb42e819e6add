#pragma once

#include <string>

#include "run/Subsystems.hpp"

namespace corv::app {

// The subsystems as they behave while nothing of them is installed: no updates,
// no park airport. Each is replaced by the real one as it is built.

class UnwiredDataFiles final : public data::DataFilesPort {
  public:
    bool checkForUpdates() override { return true; }
};

class UnwiredAirports final : public airports::AirportsPort {
  public:
    void readParkAirportList() override {}
    void parkAirportTick(bool) override {}
    bool parkAirportSet() const override { return false; }
    bool standListEmpty() const override { return true; }
    void leaveParkAirport() override {}
    bool hasReservedStand() const override { return false; }
    void keepReservedStandFree() override {}
    std::string recheckParkAirports() override { return {}; }
    void setDestination(const std::string&) override {}
    void clearDestination() override {}
    std::optional<double> firstParkAirportDistance() const override { return std::nullopt; }
    void removeAllStatic() override {}
    void renewStaticParking() override {}
    int staticQueuedCount() const override { return 0; }
    void resetRunState() override {}
};

}  // namespace corv::app
