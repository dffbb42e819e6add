#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "airports/AirportCatalogue.hpp"

namespace corv::sim::standin {

// One recorded point of the user aircraft; the user flies from point to point.
struct TrackPoint {
    double time = 0.0;  // seconds after the first open
    double latitude = 0.0;
    double longitude = 0.0;
    double altitudeFeet = 0.0;  // above sea level; ignored on the ground
    double headingDegrees = 0.0;
    double groundSpeedKnots = 0.0;
    bool onGround = false;
};

enum class ScriptedKind { FlightLoaded, PositionChanged, Quit, Pause, Resume, FailRequest };

struct ScriptedEvent {
    double time = 0.0;  // seconds after the first open
    ScriptedKind kind = ScriptedKind::Quit;
    std::string fileName;   // FlightLoaded
    double latitude = 0.0;  // PositionChanged
    double longitude = 0.0;
    double headingDegrees = 0.0;
};

// What the simulator calls itself when a client opens a connection.
struct SimulatorIdentity {
    std::string name = "Lockheed Martin\u00ae Prepar3D\u00ae v5";
    std::array<std::uint32_t, 4> version{5, 3, 17, 28160};  // major, minor, build major, minor
};

struct Scenario {
    SimulatorIdentity simulator;
    std::string title = "Stand-in Airbus A320";
    std::string atcModel = "A320";
    std::string atcId = "STANDIN";
    std::uint32_t lights = 0;  // light-states mask
    // Parked position, used when there is no track.
    double latitude = 0.0;
    double longitude = 0.0;
    double headingDegrees = 0.0;
    std::vector<TrackPoint> track;  // sorted by time
    std::optional<double> groundElevationFeet;
    std::vector<ScriptedEvent> events;  // sorted by time
    // Snapshots of the world written into the install folder while the flight runs.
    std::optional<double> snapshotEverySeconds;
    double snapshotRadiusNm = 5.0;
};

inline constexpr const char* scenarioFileName = "standin-scenario.json";

// Reads a scenario file; throws std::runtime_error naming the file and the fault.
Scenario readScenario(const std::filesystem::path& file);

// The user parked at EHAM when the catalogue has it, else at its first airport.
Scenario defaultScenario(const airports::AirportCatalogue& catalogue);

}  // namespace corv::sim::standin
