#include "airports/AirportFileWrite.hpp"

#include <cmath>
#include <numbers>
#include <system_error>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/HoursText.hpp"
#include "services/Log.hpp"
#include "settings/MetaBlock.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "settings/XmlDocument.hpp"

namespace corv::airports {

namespace {
constexpr double radiansToDegrees = 180.0 / std::numbers::pi;

void addParameter(pugi::xml_node parameters, const char* name, const std::string& value) {
    pugi::xml_node row = parameters.append_child("parameter");
    row.append_attribute("name") = name;
    row.append_attribute("value") = value.c_str();
}

const char* boolText(bool value) {
    return value ? "true" : "false";
}

void writeParameters(pugi::xml_node root, const AirportRecord& record, AirportFileMode mode) {
    pugi::xml_node parameters = root.append_child("parameters");
    const bool full = mode == AirportFileMode::Full;
    addParameter(parameters, "icao", record.code);
    addParameter(parameters, "airport_name", record.name);
    addParameter(parameters, "publisher", record.publisher);
    if (record.handmade || full)
        addParameter(parameters, "altitude", fmt::format("{}", record.altitude));
    if (full) addParameter(parameters, "num_parkpos", fmt::format("{}", record.stands.size()));
    if (record.handmade) {
        if (record.quality.first >= 0)
            addParameter(parameters, "Qf_real", fmt::format("{}", record.quality.first));
        if (record.quality.second >= 0)
            addParameter(parameters, "Qf_soft", fmt::format("{}", record.quality.second));
        addParameter(parameters, "handmade", "true");
    }
    if (record.publisher.empty()) addParameter(parameters, "BGLpath", record.bglPath);
    if (full) return;
    using namespace settings;
    addParameter(parameters, "RANGE", fmt::format("{}", RANGE.value()));
    addParameter(parameters, "AUTO_RANGE", boolText(AUTO_RANGE.value()));
    addParameter(parameters, "WEEK", boolText(WEEK.value()));
    addParameter(parameters, "PARK_SOFT", boolText(PARK_SOFT.value()));
    addParameter(parameters, "parking_percentage", fmt::format("{}", parking_percentage.value()));
    addParameter(parameters, "INITIAL_LOAD_ONLY", boolText(INITIAL_LOAD_ONLY.value()));
    addParameter(parameters, "MAX_FIT",
                 fmt::format("{}", static_cast<int>(std::lround(MAX_FIT_FL.value() * 2.0F)) - 1));
    addParameter(parameters, "MAX_LIVE_SEL", fmt::format("{}", MAX_LIVE_SEL.value()));
}

void writeStandAttributes(pugi::xml_node parkpos, const Stand& stand) {
    parkpos.append_attribute("latitude") = fmt::format("{:.6f}", stand.latitude).c_str();
    parkpos.append_attribute("longitude") = fmt::format("{:.6f}", stand.longitude).c_str();
    parkpos.append_attribute("heading") =
        fmt::format("{:.1f}", stand.heading * radiansToDegrees).c_str();
    parkpos.append_attribute("radius") = fmt::format("{:.1f}", stand.radius * 1852.0).c_str();
    parkpos.append_attribute("type") = fmt::format("{}", stand.type).c_str();
    parkpos.append_attribute("cargo") = boolText(stand.cargo);
    parkpos.append_attribute("ramp") = boolText(stand.ramp);
    if (stand.heli) parkpos.append_attribute("heli") = "true";
    if (stand.manual) parkpos.append_attribute("manual") = "true";
}

void writeEntries(pugi::xml_node parkpos, const Stand& stand, const EntryIdentities& identities) {
    for (const OccupancyEntry& entry : stand.entries) {
        if (entry.index == 0 || entry.registration.empty()) continue;
        const auto range = hoursAsRange(entry.hours);
        if (!range) {
            services::logMarked("bit set problem: {} {} {}", entry.registration, entry.callsign,
                                identities.text(entry.identity));
            continue;
        }
        pugi::xml_node opt = parkpos.append_child("opt");
        opt.append_attribute("reg") = entry.registration.c_str();
        if (!entry.identity.fromRegistration) {
            opt.append_attribute("airl") = identities.airlineCode(entry.identity).c_str();
            opt.append_attribute("type") = identities.typeCode(entry.identity).c_str();
        }
        if (!entry.real) opt.append_attribute("soft") = "true";
        opt.append_attribute("day") = entry.day;
        opt.append_attribute("hh") = range->c_str();
        if (!entry.callsign.empty()) {
            const std::string cs =
                entry.callsign2.empty() ? entry.callsign : entry.callsign + ":" + entry.callsign2;
            opt.append_attribute("cs") = cs.c_str();
        }
        if (entry.cpl) opt.append_attribute("cpl") = "true";
    }
}
}  // namespace

bool writeAirportFile(const std::filesystem::path& path, const AirportRecord& record,
                      AirportFileMode mode, const EntryIdentities& identities, int simNumber) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    settings::writeMeta(root, settings::builtInVersionText(), simNumber);
    writeParameters(root, record, mode);
    pugi::xml_node list = root.append_child("parkpositions");
    for (const Stand& stand : record.stands) {
        pugi::xml_node parkpos = list.append_child("parkpos");
        parkpos.append_attribute("id") = stand.id.c_str();
        if (mode == AirportFileMode::Full) {
            writeStandAttributes(parkpos, stand);
            continue;
        }
        if (record.handmade || stand.manual) {
            writeStandAttributes(parkpos, stand);
        } else {
            if (stand.radiusChanged) {
                parkpos.append_attribute("radius_change") = "true";
                parkpos.append_attribute("radius") =
                    fmt::format("{:.1f}", stand.radius * 1852.0).c_str();
            }
            if (stand.cargoChanged) {
                parkpos.append_attribute("cargo_change") = "true";
                parkpos.append_attribute("cargo") = boolText(stand.cargo);
            }
        }
        writeEntries(parkpos, stand, identities);
    }
    std::error_code error;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    const std::string failure = settings::saveXmlDocument(document, path);
    if (!failure.empty()) services::log("{}: {}", path.string(), failure);
    return failure.empty();
}

}  // namespace corv::airports
