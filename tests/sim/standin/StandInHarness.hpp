#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "airports/AirportCatalogue.hpp"
#include "sim/SimMessages.hpp"
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

// The program's declarations, as far as the tests need them.
enum : std::uint32_t {
    simEvent = 201,
    objectAdded = 202,
    objectRemoved = 203,
    frameEvent = 204,
    positionChanged = 205,
    flightLoaded = 206,
};

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

    void declare() {
        sim->addToDataDefinition(407, "TITLE", "", DataType::StringV);
        sim->addToDataDefinition(408, "ATC MODEL", "", DataType::String32);
        sim->addToDataDefinition(409, "SIM ON GROUND", "Bool", DataType::Int64);
        for (const char* name : {"Plane Latitude", "Plane Longitude"}) {
            sim->addToDataDefinition(402, name, "degree", DataType::Float64);
            sim->addToDataDefinition(403, name, "degree", DataType::Float64);
        }
        for (const char* name :
             {"Plane Pitch degrees", "Plane Bank degrees", "Plane Heading degrees true"}) {
            sim->addToDataDefinition(402, name, "radians", DataType::Float64);
            sim->addToDataDefinition(403, name, "radians", DataType::Float64);
        }
        sim->addToDataDefinition(402, "Plane Altitude", "feet", DataType::Float64);
        sim->addToDataDefinition(402, "Vertical Speed", "feet per second", DataType::Float64);
        sim->addToDataDefinition(402, "Airspeed True", "knots", DataType::Float64);
        sim->addToDataDefinition(403, "Plane Altitude", "feet", DataType::Float64);
        sim->addToDataDefinition(403, "Indicated Altitude", "feet", DataType::Float64);
        sim->addToDataDefinition(403, "Plane Alt Above Ground", "feet", DataType::Float64);
        sim->addToDataDefinition(403, "Ground Velocity", "knots", DataType::Float64);
        sim->addToDataDefinition(403, "ZULU TIME", "Seconds", DataType::Int64);
        sim->addToDataDefinition(403, "ZULU DAY OF YEAR", "Number", DataType::Int64);
        sim->addToDataDefinition(403, "ZULU YEAR", "Number", DataType::Int64);
        sim->addToDataDefinition(403, "LIGHT STATES", "Mask", DataType::Int64);
        sim->addToDataDefinition(405, "Static CG to Ground", "feet", DataType::Float64);
        sim->addToDataDefinition(405, "Static Pitch", "radians", DataType::Float64);
        sim->addToDataDefinition(404, "Plane Alt Above Ground", "feet", DataType::Float64);
        sim->addToDataDefinition(404, "Ground Altitude", "feet", DataType::Float64);
        sim->addToDataDefinition(404, "SIM ON GROUND", "Bool", DataType::Int64);
        sim->addToDataDefinition(404, "ATC ID", "", DataType::String32);
        for (const char* name :
             {"SPOILERS HANDLE POSITION", "GENERAL ENG THROTTLE LEVER POSITION:1",
              "GENERAL ENG THROTTLE LEVER POSITION:2"}) {
            sim->addToDataDefinition(401, name, "percent", DataType::Float64);
        }
        const std::pair<std::uint32_t, const char*> events[] = {
            {220, "GEAR_SET"},
            {221, "ENGINE_AUTO_START"},
            {223, "THROTTLE_SET"},
            {218, "FLAPS_SET"},
            {219, "SPOILERS_SET"},
            {211, "LANDING_LIGHTS_SET"},
            {208, "NAV_LIGHTS_SET"},
            {215, "FREEZE_LATITUDE_LONGITUDE_SET"},
            {216, "FREEZE_ALTITUDE_SET"},
            {217, "FREEZE_ATTITUDE_SET"},
        };
        for (const auto& [id, name] : events)
            sim->mapClientEventToSimEvent(id, name);
        const std::pair<std::uint32_t, const char*> systemEvents[] = {
            {simEvent, "Sim"},
            {objectAdded, "ObjectAdded"},
            {objectRemoved, "ObjectRemoved"},
            {positionChanged, "PositionChanged"},
            {flightLoaded, "FlightLoaded"},
            {frameEvent, "Frame"},
        };
        for (const auto& [id, name] : systemEvents)
            sim->subscribeToSystemEvent(id, name);
    }

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
