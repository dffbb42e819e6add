#include "airports/AirportFileWriter.hpp"

#include <cmath>
#include <numbers>
#include <system_error>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/HoursText.hpp"
#include "common/GreatCircle.hpp"
#include "services/Log.hpp"
#include "settings/MetaBlock.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "settings/XmlDocument.hpp"

namespace corv::airports {

namespace fs = std::filesystem;

namespace {
constexpr double radiansToDegrees = 180.0 / std::numbers::pi;

const char* flagText(bool value) {
    return value ? "true" : "false";
}

void addParameter(pugi::xml_node parameters, const char* name, const std::string& value) {
    pugi::xml_node parameter = parameters.append_child("parameter");
    parameter.append_attribute("name").set_value(name);
    parameter.append_attribute("value").set_value(value.c_str());
}

// The settings chosen at the airport, in the order readers of old files expect.
void addAirportSettings(pugi::xml_node parameters) {
    using namespace settings;
    addParameter(parameters, "RANGE", std::to_string(RANGE.value()));
    addParameter(parameters, "AUTO_RANGE", flagText(AUTO_RANGE.value()));
    addParameter(parameters, "WEEK", flagText(WEEK.value()));
    addParameter(parameters, "PARK_SOFT", flagText(PARK_SOFT.value()));
    addParameter(parameters, "parking_percentage", std::to_string(parking_percentage.value()));
    addParameter(parameters, "INITIAL_LOAD_ONLY", flagText(INITIAL_LOAD_ONLY.value()));
    const long maxFit = std::lround(MAX_FIT_FL.value() * 2.0F) - 1;
    addParameter(parameters, "MAX_FIT", std::to_string(maxFit));
    addParameter(parameters, "MAX_LIVE_SEL", std::to_string(MAX_LIVE_SEL.value()));
}

void addParameters(pugi::xml_node root, const AirportRecord& airport, AirportFileMode mode) {
    pugi::xml_node parameters = root.append_child("parameters");
    addParameter(parameters, "icao", airport.code.str());
    addParameter(parameters, "airport_name", airport.name);
    addParameter(parameters, "publisher", airport.publisher);
    const bool handmade = mode == AirportFileMode::learned && airport.handmade;
    if (handmade || mode == AirportFileMode::full) {
        addParameter(parameters, "altitude", std::to_string(airport.altitude));
    }
    if (mode == AirportFileMode::full) {
        addParameter(parameters, "num_parkpos", std::to_string(airport.stands.size()));
    }
    if (handmade) {
        if (airport.quality.Qf_real >= 0) {
            addParameter(parameters, "Qf_real", std::to_string(airport.quality.Qf_real));
        }
        if (airport.quality.Qf_soft >= 0) {
            addParameter(parameters, "Qf_soft", std::to_string(airport.quality.Qf_soft));
        }
        addParameter(parameters, "handmade", "true");
    }
    if (airport.publisher.empty()) addParameter(parameters, "BGLpath", airport.bglPath);
    if (mode == AirportFileMode::learned) addAirportSettings(parameters);
}

void addPlace(pugi::xml_node parkpos, const Stand& stand) {
    parkpos.append_attribute("latitude").set_value(fmt::format("{:.6f}", stand.latitude).c_str());
    parkpos.append_attribute("longitude").set_value(fmt::format("{:.6f}", stand.longitude).c_str());
    parkpos.append_attribute("heading").set_value(
        fmt::format("{:.1f}", stand.heading * radiansToDegrees).c_str());
    parkpos.append_attribute("radius").set_value(
        fmt::format("{:.1f}", stand.radius * common::metresPerNm).c_str());
    parkpos.append_attribute("type").set_value(std::to_string(stand.type).c_str());
    parkpos.append_attribute("cargo").set_value(flagText(stand.cargo));
    parkpos.append_attribute("ramp").set_value(flagText(stand.ramp));
    if (stand.heli) parkpos.append_attribute("heli").set_value("true");
    if (stand.manual) parkpos.append_attribute("manual").set_value("true");
}

void addLearnedChanges(pugi::xml_node parkpos, const Stand& stand) {
    if (stand.radiusChanged) {
        parkpos.append_attribute("radius_change").set_value("true");
        parkpos.append_attribute("radius").set_value(
            fmt::format("{:.1f}", stand.radius * common::metresPerNm).c_str());
    }
    if (stand.cargoChanged) {
        parkpos.append_attribute("cargo_change").set_value("true");
        parkpos.append_attribute("cargo").set_value(flagText(stand.cargo));
    }
}

void addEntry(pugi::xml_node parkpos, const OccupancyEntry& entry,
              const AircraftIdentities& identities) {
    // The file can only say one run of half hours per entry.
    const auto range = hoursAsRange(entry.hours);
    if (!range) {
        services::logMarked("bit set problem: {} {} {}", entry.registration, entry.callsign,
                            identities.text(entry.identity));
        return;
    }
    pugi::xml_node opt = parkpos.append_child("opt");
    opt.append_attribute("reg").set_value(entry.registration.c_str());
    if (!entry.identity.fromRegistration) {
        opt.append_attribute("airl").set_value(identities.airlineCode(entry.identity).c_str());
        opt.append_attribute("type").set_value(identities.typeCode(entry.identity).c_str());
    }
    if (!entry.real) opt.append_attribute("soft").set_value("true");
    opt.append_attribute("day").set_value(entry.day);
    opt.append_attribute("hh").set_value(range->c_str());
    if (!entry.callsign.empty()) {
        const std::string callsigns =
            entry.callsign2.empty() ? entry.callsign : entry.callsign + ":" + entry.callsign2;
        opt.append_attribute("cs").set_value(callsigns.c_str());
    }
    if (entry.cpl) opt.append_attribute("cpl").set_value("true");
}

void addStand(pugi::xml_node parkpositions, const Stand& stand, const AirportRecord& airport,
              AirportFileMode mode, const AircraftIdentities& identities) {
    pugi::xml_node parkpos = parkpositions.append_child("parkpos");
    parkpos.append_attribute("id").set_value(stand.id.c_str());
    if (mode == AirportFileMode::full) {
        addPlace(parkpos, stand);
        return;
    }
    if (airport.handmade || stand.manual) {
        addPlace(parkpos, stand);
    } else {
        addLearnedChanges(parkpos, stand);
    }
    for (const OccupancyEntry& entry : stand.entries) {
        // Entries without a registration cannot be told apart when read back.
        if (entry.index == 0 || entry.registration.empty()) continue;
        addEntry(parkpos, entry, identities);
    }
}
}  // namespace

bool writeAirportFile(const fs::path& file, const AirportRecord& airport, AirportFileMode mode,
                      const AircraftIdentities& identities, int simNumber) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    settings::writeMeta(root, settings::builtInVersionText(), simNumber);
    addParameters(root, airport, mode);
    pugi::xml_node parkpositions = root.append_child("parkpositions");
    for (const Stand& stand : airport.stands)
        addStand(parkpositions, stand, airport, mode, identities);

    if (file.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
    }
    const std::string failure = settings::saveXmlDocument(document, file);
    if (!failure.empty()) services::logMarked("{}: {}", file.string(), failure);
    return failure.empty();
}

}  // namespace corv::airports
