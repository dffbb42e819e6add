#include "airports/ReadApf.hpp"

#include <exception>
#include <system_error>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/AirportFileXml.hpp"
#include "airports/AirportPaths.hpp"
#include "airports/ReadLearned.hpp"
#include "airports/StandNeighbours.hpp"
#include "common/UserErrorException.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::airports {

namespace fs = std::filesystem;

namespace {
constexpr const char* operation = "gf_readApf";
constexpr const char* downloadedCopy = "airports/park_airport.xml";
constexpr int missingAltitudeErrorCode = 65;
constexpr std::int32_t poorRealFactor = 2;
constexpr std::int32_t goodRealFactor = 45;

// The learned file belongs to the airport, not to a variant of its file ("EHAM_2024.xml").
std::string airportFilePath(const std::string& path) {
    fs::path file(path);
    const std::string stem = file.stem().string();
    if (stem.size() > 4) file.replace_filename(stem.substr(0, 4) + file.extension().string());
    return file.generic_string();
}

// Without learned data the airport's own data decides how static parking searches.
void setFirstVisitDefaults(const LoadedAirport& airport, const AirportFilesContext& context) {
    using namespace settings;
    SettingsControls& controls = context.settings;
    if (airport.quality.Qf_real <= poorRealFactor && airport.quality.Qf_soft > 0) {
        for (CheckBox* box : {&PARK_SOFT, &WEEK}) {
            box->setCurrent(true);
            box->showCurrent(controls.controls);
        }
        setMaxFitHours(24.0F, controls);
        MAX_FIT.setCurrent(47);
    } else if (airport.quality.Qf_real > goodRealFactor) {
        for (CheckBox* box : {&PARK_SOFT, &WEEK}) {
            box->setCurrent(false);
            box->showCurrent(controls.controls);
        }
    }
    const CatalogueAirport* listed =
        airport.code ? context.catalogue.findAirport(*airport.code) : nullptr;
    parking_percentage.setCurrent(defaultParkingPercentage(listed ? listed->standClass : 0));
    parking_percentage.showCurrent(controls.controls);
    services::log("{:24}: {}%", parking_percentage.name(), parking_percentage.value());
}

std::string readAirport(const std::string& path, LoadedAirport& airport,
                        const AirportFilesContext& context) {
    if (path.empty()) return fmt::format("{}: xml is empty", operation);
    if (!airport.code) return fmt::format("{}: no park airport set", operation);

    std::string loadedPath = path;
    if (!isLocalAirportPath(path)) {
        const std::string sitePath = "downloads/P3D/" + path;
        if (!context.downloader.download(sitePath, context.workFolder / downloadedCopy)) {
            return fmt::format("failed to download: '{}'", context.downloader.addressOf(sitePath));
        }
        loadedPath = downloadedCopy;
    }
    airport.handmade = false;

    pugi::xml_document document;
    if (!document.load_file((context.workFolder / loadedPath).c_str())) {
        return fmt::format("{}: could not load file: {}", path, loadedPath);
    }
    const pugi::xml_node parent = listsParent(document);
    if (!acceptedByMeta(parent)) return fmt::format("{}: refused to load", path);

    airport.RT_traffic_week = parameterValue(parent, "RT_traffic_week").as_int();
    airport.publisher = parameterValue(parent, "publisher").as_string();
    const pugi::xml_attribute version = parameterValue(parent, "version");
    const pugi::xml_attribute facilities = parameterValue(parent, "Facilities");
    const pugi::xml_attribute altitude = parameterValue(parent, "altitude");
    if (!altitude) {
        throw UserErrorException(missingAltitudeErrorCode,
                                 fmt::format("Parameter {} not found", "altitude"));
    }
    airport.altitude = altitude.as_int();
    airport.airport_name = parameterValue(parent, "airport_name").as_string();

    airport.stands =
        readStandList(parent.child("parkpositions"), context.identities, fromAirportFile);
    const pugi::xml_attribute real = parameterValue(parent, "Qf_real");
    const pugi::xml_attribute soft = parameterValue(parent, "Qf_soft");
    if (real && soft) airport.quality = {real.as_int(), soft.as_int()};
    airport.settings = snapshotAirportSettings();

    const std::string learnedPath =
        learnedPathOf(airportFilePath(path), airport.publisher).value_or("");
    std::error_code ec;
    if (!learnedPath.empty() && fs::exists(context.workFolder / learnedPath, ec)) {
        lf_readLearned(learnedPath, airport, context);
        airport.quality = computeQualityFactors(airport.stands);
        if (airport.handmade) services::log("A handmade airport file overruled the archived file!");
    } else {
        services::log("learned '{}' does not exist", learnedPath);
        setFirstVisitDefaults(airport, context);
    }

    numberStandsAndNeighbours(airport.stands);

    services::log("Airport file read from '{}' for {}", airport.handmade ? learnedPath : path,
                  airport.airport_name);
    services::log("{:24}: {}", "publisher", airport.publisher);
    if (version) services::log("{:24}: {}", "version", version.as_string());
    services::log("{:24}: {} ft", "altitude", airport.altitude);
    services::log("{:24}: {}", "num_parkpos", airport.stands.size());
    if (facilities) services::log("{:24}: {}", "Facilities", facilities.as_bool());
    services::log("{:24}: {}", "quality factor", qualityText(airport.quality));
    services::log("{:24}: {}", "RT traffic week", airport.RT_traffic_week);

    airport.loaded = true;
    return airport.stands.empty() ? "no stands found" : "";
}
}  // namespace

std::string gf_readApf(const std::string& path, LoadedAirport& airport,
                       const AirportFilesContext& context) {
    airport.stands.clear();
    try {
        return readAirport(path, airport, context);
    } catch (const UserErrorException&) {
        airport.stands.clear();
        throw;
    } catch (const std::exception& e) {
        airport.stands.clear();
        return fmt::format("{}: {}", operation, e.what());
    }
}

}  // namespace corv::airports
