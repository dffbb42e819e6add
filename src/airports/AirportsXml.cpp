#include "airports/AirportsXml.hpp"

#include <exception>
#include <optional>
#include <stdexcept>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "services/Log.hpp"

namespace corv::airports {

namespace {
// Room for every airport RealTraffic knows, so reading does not reallocate.
constexpr std::size_t expectedAirports = 15000;

// The entry of one "ap" element; nothing when the airport is skipped.
std::optional<CatalogueAirport> readAirport(const pugi::xml_node& ap) {
    CatalogueAirport airport;
    // An invalid code throws: the file is damaged, not just one airport.
    airport.code = AirportCode(ap.attribute("c").as_string());

    const pugi::xml_attribute latitude = ap.attribute("la");
    const pugi::xml_attribute longitude = ap.attribute("lo");
    if (!latitude || !longitude) {
        services::logMarked("Missing latLons for airport '{}'", airport.code);
        return std::nullopt;
    }
    const pugi::xml_attribute altitude = ap.attribute("a");
    if (!altitude) {
        services::logMarked("Missing alt for airport '{}'", airport.code);
        return std::nullopt;
    }
    airport.latitude = latitude.as_double();
    airport.longitude = longitude.as_double();
    airport.altitude = altitude.as_float();

    if (const pugi::xml_attribute stands = ap.attribute("s")) {
        airport.standClass = stands.as_int();
    } else {
        services::logMarked("Missing stands for airport '{}'", airport.code);
    }

    const pugi::xml_attribute iata = ap.attribute("i");
    try {
        airport.iata = IataCode(iata ? iata.as_string() : "XXX");
    } catch (const std::exception& e) {
        services::log("Error storing airport '{}' '{}': {}", airport.code, iata.as_string(),
                      e.what());
        return std::nullopt;
    }
    return airport;
}
}  // namespace

std::vector<CatalogueAirport> parseAirportsXml(const std::filesystem::path& file) {
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_file(file.c_str());
    if (!result) {
        throw std::runtime_error(
            fmt::format("{} not loaded: {}", file.string(), result.description()));
    }
    const pugi::xml_node list = document.child("root").child("airports");
    if (!list) throw std::runtime_error("Missing <airports> root in: " + file.string());

    std::vector<CatalogueAirport> airports;
    airports.reserve(expectedAirports);
    for (const pugi::xml_node ap : list.children("ap")) {
        if (std::optional<CatalogueAirport> airport = readAirport(ap)) airports.push_back(*airport);
    }
    return airports;
}

}  // namespace corv::airports
