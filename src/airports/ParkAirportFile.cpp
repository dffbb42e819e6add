#include "airports/ParkAirportFile.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/AirportFileRead.hpp"
#include "airports/AirportFileSource.hpp"
#include "airports/AirportFileWrite.hpp"
#include "airports/HoursText.hpp"
#include "airports/QualityFactors.hpp"
#include "common/GreatCircle.hpp"
#include "common/UserErrorException.hpp"
#include "data/SiteDownloader.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/TimeText.hpp"
#include "settings/MetaBlock.hpp"
#include "settings/ParameterTable.hpp"
#include "status/ControlStates.hpp"

namespace corv::airports {

namespace {
constexpr const char* readerName = "gf_readApf";
constexpr const char* parkAirportFile = "airports/park_airport.xml";
constexpr double metresToNm = 1.0 / 1852.0;

// The oldest learned files whose entries are still understood.
constexpr int learnedEntriesSince[3] = {11, 10, 0};

bool olderThanLearnedEntries(const std::string& version) {
    int parts[3] = {0, 0, 0};
    std::sscanf(version.c_str(), "%d.%d.%d", &parts[0], &parts[1], &parts[2]);
    return std::lexicographical_compare(parts, parts + 3, learnedEntriesSince,
                                        learnedEntriesSince + 3);
}

template <class Parameter>
void apply(Parameter& parameter, typename Parameter::ValueType value,
           const AirportFileServices& services) {
    parameter.setCurrent(value);
    parameter.showCurrent(services.controls);
}

void applyMaxFit(std::int32_t value, const AirportFileServices& services) {
    settings::MAX_FIT.setCurrent(value);
    settings::convertMaxFit(services.controls);
}

void snapshotSettings(AirportSettingsSnapshot& snapshot) {
    using namespace settings;
    snapshot = {MAX_LIVE_SEL.value(),
                MAX_FIT.value(),
                MAX_FIT_FL.value(),
                RANGE.value(),
                parking_percentage.value(),
                AUTO_RANGE.value(),
                INITIAL_LOAD_ONLY.value(),
                PARK_SOFT.value(),
                WEEK.value()};
}

// The learned file of a stand file: named after the first four characters of its stem.
std::optional<std::filesystem::path> learnedFileOf(const std::string& path,
                                                   const std::string& publisher) {
    std::filesystem::path file(path);
    const std::string stem = file.stem().string();
    if (stem.size() > 4) file.replace_filename(stem.substr(0, 4) + file.extension().string());
    return learnedPathOf(file.generic_string(), publisher);
}

void numberAndFindNeighbours(std::vector<Stand>& stands) {
    for (std::size_t i = 0; i < stands.size(); ++i)
        stands[i].number = static_cast<std::int32_t>(i + 1);
    for (Stand& p : stands) {
        p.neighbours.clear();
        for (const Stand& q : stands) {
            if (&p == &q) continue;
            const double apart =
                common::distanceNm({p.latitude, p.longitude}, {q.latitude, q.longitude});
            if (p.radius + q.radius > 1.1 * apart) p.neighbours.push_back(q.number);
        }
    }
}

void firstVisitSettings(const LoadedAirport& airport, const AirportFileServices& services) {
    using namespace settings;
    if (airport.quality.first <= 2 && airport.quality.second > 0) {
        apply(PARK_SOFT, true, services);
        apply(WEEK, true, services);
        apply(MAX_FIT_FL, 24.0F, services);
        MAX_FIT.setCurrent(47);
    } else if (airport.quality.first > 45) {
        apply(PARK_SOFT, false, services);
        apply(WEEK, false, services);
    }
    const CatalogueAirport* listed = services.catalogue.findAirport(AirportCode(airport.code));
    const int standClass = listed ? listed->standClass : 0;
    apply(parking_percentage, standClass == 1 ? 100 : standClass == 2 ? 50 : 30, services);
    services::log("{:24}: {}%", parking_percentage.name(), parking_percentage.value());
}

bool duplicateOf(const Stand& stand, const OccupancyEntry& entry) {
    return std::any_of(stand.entries.begin(), stand.entries.end(), [&](const OccupancyEntry& e) {
        return e.day == entry.day && e.real == entry.real && e.registration == entry.registration &&
               sameAircraft(e.identity, entry.identity) && e.hours.overlaps(entry.hours);
    });
}

void mergeLearnedStand(pugi::xml_node parkpos, Stand& stand, bool oldFile,
                       const AirportFileServices& services) {
    if (parkpos.attribute("radius_change").as_bool()) {
        stand.radius = parkpos.attribute("radius").as_double() * metresToNm;
        stand.radiusChanged = true;
    }
    if (parkpos.attribute("cargo_change").as_bool()) {
        stand.cargo = parkpos.attribute("cargo").as_bool();
        stand.cargoChanged = true;
    }
    if (oldFile) return;
    std::int32_t next = stand.entries.empty() ? 1 : stand.entries.back().index + 1;
    for (const pugi::xml_node opt : parkpos.children("opt")) {
        OccupancyEntry entry = entryOf(opt, services.identities);
        if (entry.hours.empty()) {
            services::logMarked("empty bit set");
            continue;
        }
        entry.origin = 0;
        if (duplicateOf(stand, entry)) {
            services::logMarked("learned {}: day:{} {} {} cs:{} reg:{} already in airport file",
                                stand.id, entry.day, hoursAsList(entry.hours).value_or(""),
                                services.identities.text(entry.identity), entry.callsign,
                                entry.registration);
            continue;
        }
        entry.index = next++;
        stand.entries.push_back(std::move(entry));
    }
}

void applyLearnedSettings(pugi::xml_node lists, const AirportFileServices& services) {
    using namespace settings;
    const auto number = [&](const char* name) -> std::optional<std::int32_t> {
        const auto text = airportParameter(lists, name);
        if (!text) return std::nullopt;
        return std::atoi(text->c_str());
    };
    const auto flag = [&](const char* name) -> std::optional<bool> {
        const auto text = airportParameter(lists, name);
        if (!text) return std::nullopt;
        return !text->empty() && std::string("1tTyY").find(text->front()) != std::string::npos;
    };
    const auto logged = [](const auto& parameter) {
        services::log("{:24}: {}", parameter.name(), parameter.value());
    };
    if (const auto value = number("MAX_LIVE_SEL")) {
        apply(MAX_LIVE_SEL, *value, services);
        logged(MAX_LIVE_SEL);
    }
    if (const auto value = number("RANGE")) {
        services.setRange(*value);
        logged(RANGE);
    }
    if (const auto value = flag("AUTO_RANGE")) {
        apply(AUTO_RANGE, *value, services);
        logged(AUTO_RANGE);
    }
    apply(parking_percentage, number("parking_percentage").value_or(30), services);
    logged(parking_percentage);
    if (const auto value = flag("WEEK")) {
        apply(WEEK, *value, services);
        logged(WEEK);
    }
    if (const auto value = flag("PARK_SOFT")) {
        apply(PARK_SOFT, *value, services);
        logged(PARK_SOFT);
    }
    if (const auto value = number("MAX_FIT")) {
        applyMaxFit(*value, services);
        services::log("{:24}: {} (max number of half hours, is {:.1F} hrs decimal)", MAX_FIT.name(),
                      MAX_FIT.value(), MAX_FIT_FL.value());
    }
    if (const auto value = flag("INITIAL_LOAD_ONLY")) {
        apply(INITIAL_LOAD_ONLY, *value, services);
        logged(INITIAL_LOAD_ONLY);
    }
}

std::filesystem::path learnedFolderOf(const std::string& publisher) {
    if (publisher == "stock") return "airports/learned/stock";
    if (publisher == "simaddon") return "airports/learned/simaddon";
    return std::filesystem::path("airports/learned/thirdparty") / publisher;
}
}  // namespace

void lf_readLearned(const std::filesystem::path& learnedPath, LoadedAirport& airport,
                    const AirportFileServices& services) {
    const std::filesystem::path file = services.folder / learnedPath;
    try {
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_file(file.c_str());
        if (!parsed) {
            std::filesystem::path aside = file;
            aside.replace_extension(".0.xml");
            std::error_code error;
            std::filesystem::rename(file, aside, error);
            services::logMarked("{} found, but could not be loaded, saved as *.0.xml: {}",
                                file.string(), parsed.description());
            return;
        }
        services::log("Read from learned airport file: '{}'", file.string());
        const pugi::xml_node lists = airportFileLists(document);
        const settings::MetaInfo meta = settings::readMeta(lists);
        const bool oldFile = olderThanLearnedEntries(meta.version);
        if (oldFile)
            services::log(
                "\nThis learned file was created with and older Corvane version than "
                "11.10.0,\nAll flights will be cleared, except for a handmade file\n");
        const std::string name = airportParameter(lists, "airport_name").value_or("");
        if (name != airport.airportName)
            services.messages.showMessage(
                fmt::format("Warning: learned file airport name: '{}' differs from archived "
                            "file airport name: '{}'",
                            name, airport.airportName),
                true);
        applyLearnedSettings(lists, services);
        if (airportParameter(lists, "handmade")) {
            airport.handmade = true;
            airport.stands = readStandList(lists, services.identities);
            services::log("{:24}: {}", "handmade", true);
            return;
        }
        airport.handmade = false;
        for (const pugi::xml_node parkpos : lists.child("parkpositions").children("parkpos")) {
            const std::string id = parkpos.attribute("id").value();
            auto loaded = std::find_if(airport.stands.begin(), airport.stands.end(),
                                       [&](const Stand& s) { return s.id == id; });
            if (parkpos.attribute("manual").as_bool()) {
                if (loaded != airport.stands.end()) {
                    services::logMarked("manually created standid {} already exists in {}", id,
                                        file.string());
                    continue;
                }
                Stand stand;
                stand.id = id;
                readStandAttributes(parkpos, stand);
                if ((std::fabs(stand.latitude) > 0.0001 || std::fabs(stand.longitude) > 0.0001) &&
                    stand.radius != 0.0) {
                    std::int32_t index = 0;
                    for (const pugi::xml_node opt : parkpos.children("opt")) {
                        auto entry = readEntry(opt, services.identities);
                        if (!entry) continue;
                        entry->origin = 0;
                        entry->index = ++index;
                        stand.entries.push_back(std::move(*entry));
                    }
                    stand.manual = true;
                    airport.stands.push_back(std::move(stand));
                } else {
                    services::logMarked(
                        "manually created standid {} misses correct attributes in {}", id,
                        file.string());
                }
                continue;
            }
            if (loaded == airport.stands.end()) {
                services::log("learned stand {} in {} not found?", id, file.string());
                continue;
            }
            mergeLearnedStand(parkpos, *loaded, oldFile, services);
        }
    } catch (const UserErrorException&) {
        throw;
    } catch (const std::exception& error) {
        services::log("{}: {}", "lf_readLearned", error.what());
    }
}

std::string gf_readApf(const std::string& path, LoadedAirport& airport,
                       const AirportFileServices& services) {
    if (path.empty()) return fmt::format("{}: xml is empty", readerName);
    if (airport.code.empty()) return fmt::format("{}: no park airport set", readerName);
    try {
        std::filesystem::path loadedFrom = services.folder / path;
        if (path.rfind("airports", 0) != 0) {
            loadedFrom = services.folder / parkAirportFile;
            if (!services.site.download(path, loadedFrom))
                return fmt::format("failed to download: '{}'", services.site.addressOf(path));
            airport.handmade = false;
        }
        pugi::xml_document document;
        if (!document.load_file(loadedFrom.c_str()))
            return fmt::format("{}: could not load file: {}", path, loadedFrom.string());
        const pugi::xml_node lists = airportFileLists(document);
        airport.rtTrafficWeek =
            std::atoi(airportParameter(lists, "RT_traffic_week").value_or("0").c_str());
        airport.publisher = airportParameter(lists, "publisher").value_or("");
        const auto version = airportParameter(lists, "version");
        const auto facilities = airportParameter(lists, "Facilities");
        const auto altitude = airportParameter(lists, "altitude");
        if (!altitude)
            throw UserErrorException(65, fmt::format("Parameter {} not found", "altitude"));
        airport.altitude = std::atoi(altitude->c_str());
        airport.airportName = airportParameter(lists, "airport_name").value_or("");
        airport.stands = readStandList(lists, services.identities);
        const auto real = airportParameter(lists, "Qf_real");
        const auto soft = airportParameter(lists, "Qf_soft");
        if (real && soft) airport.quality = {std::atoi(real->c_str()), std::atoi(soft->c_str())};
        snapshotSettings(airport.settings);

        const auto learned = learnedFileOf(path, airport.publisher);
        std::error_code error;
        if (learned && std::filesystem::exists(services.folder / *learned, error)) {
            lf_readLearned(*learned, airport, services);
            airport.quality = computeQualityFactors(airport.stands);
            if (airport.handmade)
                services::log("A handmade airport file overruled the archived file!");
        } else {
            services::log("learned '{}' does not exist",
                          learned ? learned->generic_string() : std::string());
            firstVisitSettings(airport, services);
        }
        numberAndFindNeighbours(airport.stands);

        const std::string shownPath =
            airport.handmade && learned ? learned->generic_string() : path;
        services::log("Airport file read from '{}' for {}", shownPath, airport.airportName);
        services::log("{:24}: {}", "publisher", airport.publisher);
        if (version) services::log("{:24}: {}", "version", *version);
        services::log("{:24}: {} ft", "altitude", airport.altitude);
        services::log("{:24}: {}", "num_parkpos", airport.stands.size());
        if (facilities) services::log("{:24}: {}", "Facilities", *facilities);
        services::log("{:24}: {}", "quality factor", qualityText(airport.quality));
        services::log("{:24}: {}", "RT traffic week", airport.rtTrafficWeek);
        airport.loaded = true;
        return airport.stands.empty() ? "no stands found" : "";
    } catch (const UserErrorException&) {
        throw;
    } catch (const std::exception& error) {
        return fmt::format("{}: {}", readerName, error.what());
    }
}

void saveLearnedFile(LoadedAirport& airport, const AirportFileServices& services) {
    if (!airport.loaded) return;
    AirportRecord record;
    record.code = airport.code;
    record.name = airport.airportName;
    record.publisher = airport.publisher;
    record.altitude = airport.altitude;
    record.handmade = airport.handmade;
    if (airport.handmade) {
        record.stands = airport.stands;
        record.quality = computeQualityFactors(airport.stands);
    } else {
        for (Stand stand : airport.stands) {
            std::erase_if(stand.entries,
                          [](const OccupancyEntry& e) { return e.origin == 1 || e.index == 0; });
            if (stand.manual || !stand.entries.empty() || stand.radiusChanged || stand.cargoChanged)
                record.stands.push_back(std::move(stand));
        }
    }
    const std::filesystem::path path = learnedFolderOf(airport.publisher) / (airport.code + ".xml");
    if (writeAirportFile(services.folder / path, record, AirportFileMode::Learned,
                         services.identities, services.simNumber)) {
        services::log("{}{} '{}' saved with {} update{}", services::clockText(),
                      airport.handmade ? " handmade" : "", path.generic_string(), airport.updates,
                      airport.updates == 1 ? "" : "s");
    } else {
        services::log("{} saving '{}' did not succeed", services::clockText(),
                      path.generic_string());
    }
    airport.updates = 0;
}

void restoreAirportSettings(const LoadedAirport& airport, const AirportFileServices& services) {
    using namespace settings;
    const AirportSettingsSnapshot& was = airport.settings;
    if (MAX_LIVE_SEL.value() != was.maxLiveSel) apply(MAX_LIVE_SEL, was.maxLiveSel, services);
    if (MAX_FIT.value() != was.maxFit) applyMaxFit(was.maxFit, services);
    if (RANGE.value() != was.range) services.setRange(was.range);
    if (parking_percentage.value() != was.parkingPercentage)
        apply(parking_percentage, was.parkingPercentage, services);
    if (AUTO_RANGE.value() != was.autoRange) apply(AUTO_RANGE, was.autoRange, services);
    if (INITIAL_LOAD_ONLY.value() != was.initialLoadOnly)
        apply(INITIAL_LOAD_ONLY, was.initialLoadOnly, services);
    if (PARK_SOFT.value() != was.parkSoft) apply(PARK_SOFT, was.parkSoft, services);
    if (WEEK.value() != was.week) apply(WEEK, was.week, services);
}

}  // namespace corv::airports
