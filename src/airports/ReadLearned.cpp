#include "airports/ReadLearned.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/AirportFileXml.hpp"
#include "airports/HoursText.hpp"
#include "services/Log.hpp"
#include "services/VersionData.hpp"
#include "settings/MetaBlock.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::airports {

namespace fs = std::filesystem;

namespace {
// Files of older versions hold entries in a form that is no longer understood.
const services::VersionData firstVersionWithValidEntries{11, 10, 0};

void logSetting(const char* name, const std::string& value) {
    services::log("{:24}: {}", name, value);
}

void applyFlag(settings::CheckBox& box, pugi::xml_node parent, SettingsControls& settings) {
    const pugi::xml_attribute value = parameterValue(parent, box.name().c_str());
    if (!value) return;
    box.setCurrent(value.as_bool());
    box.showCurrent(settings.controls);
    logSetting(box.name().c_str(), box.value() ? "true" : "false");
}

void applyAirportSettings(pugi::xml_node parent, SettingsControls& settings) {
    using namespace settings;
    if (const pugi::xml_attribute value = parameterValue(parent, "MAX_LIVE_SEL")) {
        MAX_LIVE_SEL.setCurrent(value.as_int());
        MAX_LIVE_SEL.showCurrent(settings.controls);
        logSetting("MAX_LIVE_SEL", std::to_string(MAX_LIVE_SEL.value()));
    }
    if (const pugi::xml_attribute value = parameterValue(parent, "RANGE")) {
        settings.setRange(value.as_int());
        logSetting("RANGE", std::to_string(RANGE.value()));
    }
    applyFlag(AUTO_RANGE, parent, settings);
    const pugi::xml_attribute percentage = parameterValue(parent, "parking_percentage");
    parking_percentage.setCurrent(percentage ? percentage.as_int() : 30);
    parking_percentage.showCurrent(settings.controls);
    logSetting("parking_percentage", std::to_string(parking_percentage.value()));
    applyFlag(WEEK, parent, settings);
    applyFlag(PARK_SOFT, parent, settings);
    if (const pugi::xml_attribute value = parameterValue(parent, "MAX_FIT")) {
        setMaxFit(value.as_int(), settings);
        services::log("{:24}: {} (max number of half hours, is {:.1F} hrs decimal)", "MAX_FIT",
                      MAX_FIT.value(), MAX_FIT_FL.value());
    }
    applyFlag(INITIAL_LOAD_ONLY, parent, settings);
}

Stand* findStand(LoadedAirport& airport, const std::string& id) {
    const auto found = std::find_if(airport.stands.begin(), airport.stands.end(),
                                    [&](const Stand& stand) { return stand.id == id; });
    return found == airport.stands.end() ? nullptr : &*found;
}

bool isDuplicate(const Stand& stand, const OccupancyEntry& entry) {
    return std::any_of(stand.entries.begin(), stand.entries.end(), [&](const OccupancyEntry& old) {
        return old.day == entry.day && old.real == entry.real &&
               old.registration == entry.registration &&
               sameAircraft(old.identity, entry.identity) && old.hours.overlaps(entry.hours);
    });
}

void mergeEntries(pugi::xml_node parkpos, Stand& stand, const AirportFilesContext& context) {
    std::int32_t next = stand.entries.empty() ? 1 : stand.entries.back().index + 1;
    for (pugi::xml_node opt : parkpos.children("opt")) {
        OccupancyEntry entry = readEntryBase(opt, context.identities, learned);
        entry.hours = gf_hours2bitset(opt.attribute("hh").as_string());
        if (entry.hours.empty()) {
            services::logMarked("empty bit set");
            continue;
        }
        entry.day = opt.attribute("day").as_int();
        if (isDuplicate(stand, entry)) {
            services::logMarked("learned {}: day:{} {} {} cs:{} reg:{} already in airport file",
                                stand.id, entry.day, hoursAsList(entry.hours).value_or(""),
                                context.identities.text(entry.identity), entry.callsign,
                                entry.registration);
            continue;
        }
        entry.index = next++;
        stand.entries.push_back(std::move(entry));
    }
}

void mergeLearnedStand(pugi::xml_node parkpos, Stand& stand, bool withEntries,
                       const AirportFilesContext& context) {
    if (parkpos.attribute("radius_change").as_bool()) {
        stand.radius = parkpos.attribute("radius").as_double() / common::metresPerNm;
        stand.radiusChanged = true;
    }
    if (parkpos.attribute("cargo_change").as_bool()) {
        stand.cargo = parkpos.attribute("cargo").as_bool();
        stand.cargoChanged = true;
    }
    if (withEntries) mergeEntries(parkpos, stand, context);
}

void addManualStand(pugi::xml_node parkpos, const std::string& path, LoadedAirport& airport,
                    bool withEntries, const AirportFilesContext& context) {
    const std::string id = parkpos.attribute("id").as_string();
    if (findStand(airport, id) != nullptr) {
        services::logMarked("manually created standid {} already exists in {}", id, path);
        return;
    }
    Stand stand;
    stand.id = id;
    readStandPlace(parkpos, stand);
    if ((std::abs(stand.latitude) <= 0.0001 && std::abs(stand.longitude) <= 0.0001) ||
        stand.radius == 0.0) {
        services::logMarked("manually created standid {} misses correct attributes in {}", id,
                            path);
        return;
    }
    stand.manual = true;
    if (withEntries) readStandEntries(parkpos, stand, context.identities, learned);
    airport.stands.push_back(std::move(stand));
}

void moveAside(const fs::path& file) {
    fs::path aside = file;
    aside.replace_extension(".0.xml");
    std::error_code ec;
    fs::rename(file, aside, ec);
    if (ec) services::logMarked("rename {} -> {}: {}", file.string(), aside.string(), ec.message());
}
}  // namespace

void lf_readLearned(const std::string& learnedPath, LoadedAirport& airport,
                    const AirportFilesContext& context) {
    try {
        const fs::path file = context.workFolder / learnedPath;
        pugi::xml_document document;
        if (const pugi::xml_parse_result result = document.load_file(file.c_str()); !result) {
            moveAside(file);
            services::logMarked("{} found, but could not be loaded, saved as *.0.xml: {}",
                                learnedPath, result.description());
            return;
        }
        services::log("Read from learned airport file: '{}'", learnedPath);
        const pugi::xml_node parent = listsParent(document);
        if (!acceptedByMeta(parent)) return;

        const bool withEntries = services::VersionData(settings::readMeta(parent).version) >=
                                 firstVersionWithValidEntries;
        if (!withEntries) {
            services::log(
                "\nThis learned file was created with and older Corvane version than "
                "11.10.0,\nAll flights will be cleared, except for a handmade file\n");
        }
        if (const std::string name = parameterValue(parent, "airport_name").as_string();
            name != airport.airport_name) {
            context.messages.showMessage(
                fmt::format("Warning: learned file airport name: '{}' differs from archived "
                            "file airport name: '{}'",
                            name, airport.airport_name),
                true);
        }
        applyAirportSettings(parent, context.settings);

        const pugi::xml_node parkpositions = parent.child("parkpositions");
        if (parameterValue(parent, "handmade")) {
            // A damaged stand list throws before the archive stands are given up.
            airport.stands = readStandList(parkpositions, context.identities, learned);
            airport.handmade = true;
            services::log("{:24}: {}", "handmade", "true");
            return;
        }
        airport.handmade = false;
        for (pugi::xml_node parkpos : parkpositions.children("parkpos")) {
            if (parkpos.attribute("manual").as_bool()) {
                addManualStand(parkpos, learnedPath, airport, withEntries, context);
            } else if (Stand* stand = findStand(airport, parkpos.attribute("id").as_string())) {
                mergeLearnedStand(parkpos, *stand, withEntries, context);
            } else {
                services::log("learned stand {} in {} not found?",
                              parkpos.attribute("id").as_string(), learnedPath);
            }
        }
    } catch (const std::exception& e) {
        services::log("{}: {}", "lf_readLearned", e.what());
    }
}

}  // namespace corv::airports
