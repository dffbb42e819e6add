#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "airports/AirportCatalogue.hpp"
#include "sim/SimIds.hpp"
#include "sim/SimMessages.hpp"
#include "sim/SimSetup.hpp"
#include "sim/standin/StandInSimulator.hpp"
#include "support/TempFolder.hpp"

namespace corv::sim::standin::test {

using namespace std::chrono_literals;

inline airports::CatalogueAirport airport(const char* code, const char* iata, double latitude,
                                          double longitude, float elevation) {
    return {
        airports::AirportCode(code), airports::IataCode(iata), latitude, longitude, elevation, 0};
}

// EHAM below sea level and EGLL above it, so that the ground shows which one is nearest.
inline airports::AirportCatalogue twoAirports() {
    airports::AirportCatalogue catalogue;
    catalogue.assign({airport("EHAM", "AMS", 52.3086, 4.7639, -11.0F),
                      airport("EGLL", "LHR", 51.4706, -0.4619, 83.0F)});
    return catalogue;
}

inline std::string fltsimConfig(const std::vector<std::string>& titles, int maxGrossWeight) {
    std::string text;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        text += "[fltsim." + std::to_string(i) + "]\ntitle=" + titles[i] + "\n\n";
    }
    text += "[General]\natc_model=A320\n\n[weight_and_balance]\nmax_gross_weight = " +
            std::to_string(maxGrossWeight) + "\n";
    return text;
}

// Where an aircraft is created standing on the ground.
inline InitPosition parkedAt(double latitude, double longitude, double heading = 0.0) {
    InitPosition position;
    position.latitude = latitude;
    position.longitude = longitude;
    position.heading = heading;
    position.onGround = true;
    return position;
}

// A stand-in installation in a temporary folder, a hand-driven clock and the messages of every
// dispatch. Write the scenario and the aircraft.cfg files before start().
class StandInHarness {
  public:
    StandInHarness() {
        std::filesystem::create_directories(install / "SimObjects" / "Airplanes" / "A320");
        corv::test::writeFile(install / "SimObjects" / "Airplanes" / "A320" / "aircraft.cfg",
                              fltsimConfig({"Test A320 KLM", "Test A320 easyJet"}, 150000));
    }

    StandInSimulator& start(std::vector<std::filesystem::path> liveryFolders = {}) {
        sim = std::make_unique<StandInSimulator>(install.path(), std::move(liveryFolders),
                                                 catalogue, clock);
        return *sim;
    }

    // Opens and declares what the program declares: definitions, events, subscriptions.
    StandInSimulator& startAndOpen() {
        start();
        EXPECT_EQ(sim->open("Corvane_P3D"), 0);
        declare();
        return *sim;
    }

    // The program's own set-up: the stand-in sees what the program declares.
    void declare() { EXPECT_EQ(declareSimSetup(*sim), 0); }

    // One dispatch; the messages it handed over, also kept in `received`.
    std::vector<SimMessage> dispatch() {
        std::vector<SimMessage> messages;
        lastDispatch = sim->callDispatch([&](const SimMessage& m) { messages.push_back(m); });
        received.insert(received.end(), messages.begin(), messages.end());
        return messages;
    }

    // Moves the clock in steps, dispatching after each, as the client's loop does.
    void run(std::chrono::milliseconds duration, std::chrono::milliseconds step = 10ms) {
        for (auto passed = 0ms; passed < duration; passed += step) {
            clock->advance(step);
            dispatch();
        }
    }

    template <typename T>
    std::vector<T> receivedOf() const {
        std::vector<T> result;
        for (const auto& message : received) {
            if (const auto* typed = std::get_if<T>(&message)) result.push_back(*typed);
        }
        return result;
    }

    std::string standInLog() const { return corv::test::readFile(install / "standin.log"); }

    corv::test::TempFolder install;
    airports::AirportCatalogue catalogue = twoAirports();
    // 2024-03-01 12:34:56 UTC: day 61 of a leap year.
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(
        std::chrono::sys_days{std::chrono::year{2024} / std::chrono::March / 1} + 12h + 34min +
        56s);
    std::unique_ptr<StandInSimulator> sim;
    std::vector<SimMessage> received;
    Status lastDispatch = 0;
};

}  // namespace corv::sim::standin::test
