#pragma once

#include <string>

#include "sim/SimulatorPort.hpp"

namespace corv::test {

// A simulator whose flight runs; only its user aircraft is asked about.
struct RunningFlight : sim::SimulatorPort {
    void expectMajorVersion(const std::string&) override {}
    void startClient() override {}
    bool handshake() override { return true; }
    void stopClient() override {}
    bool flightRunning() const override { return true; }
    bool hasError() const override { return false; }
    void clearQueues() override {}
    sim::UserAircraftState userAircraft() const override { return user; }
    void resetRunState() override {}
    void createFlightPlanFolder() override {}
    void removeFlightPlanFolder() override {}

    sim::UserAircraftState user;
};

}  // namespace corv::test
