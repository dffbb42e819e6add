#include "AirportLayout.hpp"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include <fmt/format.h>
#include <pugixml.hpp>

namespace corv::rtfeed {

namespace {

constexpr double nearbyNm = 8.0;

std::vector<std::string> splitCsv(const std::string& line) {
    std::vector<std::string> parts;
    std::stringstream stream(line);
    std::string part;
    while (std::getline(stream, part, ','))
        parts.push_back(part);
    return parts;
}

// A whole finite number, or an exception naming the field.
double number(const std::string& text, const char* field) {
    std::size_t used = 0;
    double value = 0.0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value))
        throw std::runtime_error(fmt::format("bad {} '{}'", field, text));
    return value;
}

bool onEarth(const common::GeoPoint& p) {
    return std::fabs(p.latitude) <= 90.0 && std::fabs(p.longitude) <= 180.0;
}

std::map<std::string, std::vector<Runway>> readRunways(const std::filesystem::path& table) {
    std::ifstream in(table);
    if (!in) throw std::runtime_error(fmt::format("cannot read {}", table.string()));
    std::map<std::string, std::vector<Runway>> airports;
    std::string line;
    bool header = false;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!header) {  // the column names
            header = true;
            continue;
        }
        const std::vector<std::string> f = splitCsv(line);
        try {
            if (f.size() != 11) throw std::runtime_error("not 11 fields");
            Runway r;
            r.name = f[1];
            r.end = {number(f[2], "latitude"), number(f[3], "longitude")};
            r.threshold = {number(f[4], "latitude"), number(f[5], "longitude")};
            r.heading = number(f[6], "heading");
            r.elevation = number(f[7], "elevation");
            r.displacedFt = number(f[8], "displaced threshold");
            r.lengthFt = number(f[9], "length");
            if (!onEarth(r.end) || !onEarth(r.threshold) || r.lengthFt <= r.displacedFt ||
                r.heading < 0.0 || r.heading > 360.0)
                throw std::runtime_error("values out of range");
            airports[f[0]].push_back(r);
        } catch (const std::exception& e) {
            throw std::runtime_error(
                fmt::format("{} line {}: {}", table.string(), lineNumber, e.what()));
        }
    }
    return airports;
}

std::vector<Stand> readStands(const std::filesystem::path& file) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(file.c_str());
    if (!parsed)
        throw std::runtime_error(fmt::format("{}: {}", file.string(), parsed.description()));
    std::vector<Stand> stands;
    for (const pugi::xml_node node :
         document.child("root").child("parkpositions").children("parkpos")) {
        Stand stand;
        stand.id = node.attribute("id").value();
        try {
            stand.position = {number(node.attribute("latitude").value(), "latitude"),
                              number(node.attribute("longitude").value(), "longitude")};
            stand.heading = number(node.attribute("heading").value(), "heading");
        } catch (const std::exception& e) {
            throw std::runtime_error(
                fmt::format("{} stand '{}': {}", file.string(), stand.id, e.what()));
        }
        if (!onEarth(stand.position))
            throw std::runtime_error(
                fmt::format("{} stand '{}': position out of range", file.string(), stand.id));
        for (const pugi::xml_node use : node.children("opt")) {
            StandUse u{use.attribute("airl").value(), use.attribute("type").value(),
                       use.attribute("cs").value()};
            if (u.airline.size() == 3 && !u.type.empty() && u.type.size() <= 4)
                stand.uses.push_back(std::move(u));
        }
        stands.push_back(std::move(stand));
    }
    if (stands.empty()) throw std::runtime_error(fmt::format("{}: no stands", file.string()));
    return stands;
}

}  // namespace

std::optional<AirportLayout> loadAirportLayout(const std::filesystem::path& runwayTable,
                                               const std::filesystem::path& standFolder,
                                               common::GeoPoint near, std::string& problem) {
    try {
        AirportLayout layout;
        double nearest = nearbyNm;
        for (auto& [icao, runways] : readRunways(runwayTable)) {
            for (const Runway& runway : runways) {
                const double d = common::distanceNm(near, runway.end);
                if (d < nearest) {
                    nearest = d;
                    layout.icao = icao;
                    layout.runways = runways;
                }
            }
        }
        if (layout.runways.empty()) {
            problem = fmt::format("no runways within {} nm of {:.4f}, {:.4f} in {}", nearbyNm,
                                  near.latitude, near.longitude, runwayTable.string());
            return std::nullopt;
        }
        layout.stands = readStands(standFolder / fmt::format("{}.xml", layout.icao));
        return layout;
    } catch (const std::exception& e) {
        problem = e.what();
        return std::nullopt;
    }
}

}  // namespace corv::rtfeed
