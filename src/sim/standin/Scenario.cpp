#include "sim/standin/Scenario.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <stdexcept>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace corv::sim::standin {

namespace {

using nlohmann::json;

ScriptedKind kindFromName(const std::string& name) {
    static const std::pair<const char*, ScriptedKind> kinds[] = {
        {"flightLoaded", ScriptedKind::FlightLoaded},
        {"positionChanged", ScriptedKind::PositionChanged},
        {"quit", ScriptedKind::Quit},
        {"pause", ScriptedKind::Pause},
        {"resume", ScriptedKind::Resume},
        {"failRequest", ScriptedKind::FailRequest},
    };
    for (const auto& [text, kind] : kinds) {
        if (name == text) return kind;
    }
    throw std::runtime_error(fmt::format("unknown event kind '{}'", name));
}

TrackPoint trackPoint(const json& point) {
    TrackPoint result;
    result.time = point.at("time").get<double>();
    result.latitude = point.at("latitude").get<double>();
    result.longitude = point.at("longitude").get<double>();
    result.altitudeFeet = point.value("altitude", 0.0);
    result.headingDegrees = point.value("heading", 0.0);
    result.groundSpeedKnots = point.value("groundSpeed", 0.0);
    result.onGround = point.value("onGround", false);
    return result;
}

ScriptedEvent scriptedEvent(const json& event) {
    ScriptedEvent result;
    result.time = event.at("time").get<double>();
    result.kind = kindFromName(event.at("kind").get<std::string>());
    result.fileName = event.value("file", std::string("Flights\\standin.fxml"));
    if (result.kind == ScriptedKind::PositionChanged) {
        result.latitude = event.at("latitude").get<double>();
        result.longitude = event.at("longitude").get<double>();
        result.headingDegrees = event.value("heading", 0.0);
    }
    return result;
}

// "5.3.17.28160": the four numbers of a simulator version.
std::array<std::uint32_t, 4> simulatorVersion(const std::string& text) {
    const auto fault = [&text] {
        return std::runtime_error(
            fmt::format("simulator.version '{}' is not four numbers such as 5.3.17.28160", text));
    };
    std::array<std::uint32_t, 4> version{};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < version.size(); ++i) {
        if (i > 0 && (at == end || *at++ != '.')) throw fault();
        const auto [stop, error] = std::from_chars(at, end, version[i]);
        if (error != std::errc{}) throw fault();
        at = stop;
    }
    if (at != end) throw fault();
    return version;
}

Scenario scenarioFromJson(const json& root) {
    Scenario scenario;
    if (root.contains("simulator")) {
        const json& simulator = root.at("simulator");
        scenario.simulator.name = simulator.value("name", scenario.simulator.name);
        if (simulator.contains("version")) {
            scenario.simulator.version =
                simulatorVersion(simulator.at("version").get<std::string>());
        }
    }
    const json& user = root.at("user");
    scenario.title = user.value("title", scenario.title);
    scenario.atcModel = user.value("atcModel", scenario.atcModel);
    scenario.atcId = user.value("atcId", scenario.atcId);
    scenario.lights = user.value("lights", scenario.lights);
    if (user.contains("track")) {
        for (const auto& point : user.at("track"))
            scenario.track.push_back(trackPoint(point));
        if (scenario.track.empty()) throw std::runtime_error("the track has no point");
        std::stable_sort(scenario.track.begin(), scenario.track.end(),
                         [](const auto& a, const auto& b) { return a.time < b.time; });
    } else {
        const json& parked = user.at("position");
        scenario.latitude = parked.at("latitude").get<double>();
        scenario.longitude = parked.at("longitude").get<double>();
        scenario.headingDegrees = parked.value("heading", 0.0);
    }
    if (root.contains("groundElevation")) {
        scenario.groundElevationFeet = root.at("groundElevation").get<double>();
    }
    if (root.contains("events")) {
        for (const auto& event : root.at("events")) {
            scenario.events.push_back(scriptedEvent(event));
        }
    }
    if (root.contains("snapshot")) {
        const json& snapshot = root.at("snapshot");
        const double every = snapshot.at("every").get<double>();
        if (every <= 0.0) throw std::runtime_error("snapshot.every must be above 0");
        scenario.snapshotEverySeconds = every;
        scenario.snapshotRadiusNm = snapshot.value("radius", scenario.snapshotRadiusNm);
    }
    std::stable_sort(scenario.events.begin(), scenario.events.end(),
                     [](const auto& a, const auto& b) { return a.time < b.time; });
    return scenario;
}

}  // namespace

Scenario readScenario(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error(fmt::format("cannot open scenario {}", file.string()));
    try {
        return scenarioFromJson(json::parse(in));
    } catch (const std::exception& e) {
        throw std::runtime_error(fmt::format("scenario {}: {}", file.string(), e.what()));
    }
}

Scenario defaultScenario(const airports::AirportCatalogue& catalogue) {
    Scenario scenario;
    const auto* airport = catalogue.findAirport(airports::AirportCode("EHAM"));
    if (airport == nullptr && !catalogue.empty()) airport = &catalogue.airports().front();
    if (airport != nullptr) {
        scenario.latitude = airport->latitude;
        scenario.longitude = airport->longitude;
    } else {
        // No airport at all: Schiphol's reference point on a sea-level ground.
        scenario.latitude = 52.3086;
        scenario.longitude = 4.7639;
    }
    return scenario;
}

}  // namespace corv::sim::standin
