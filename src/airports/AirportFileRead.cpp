#include "airports/AirportFileRead.hpp"

#include <cmath>
#include <numbers>
#include <unordered_set>

#include "airports/HoursText.hpp"
#include "common/UserErrorException.hpp"
#include "services/Log.hpp"

namespace corv::airports {

namespace {
constexpr double degrees = std::numbers::pi / 180.0;
constexpr double metresToNm = 1.0 / 1852.0;

std::string trimmedId(std::string_view id) {
    const auto first = id.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = id.find_last_not_of(" \t\r\n");
    return std::string(id.substr(first, last - first + 1));
}
}  // namespace

pugi::xml_node airportFileLists(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    return root ? root : document;
}

std::optional<std::string> airportParameter(pugi::xml_node lists, std::string_view name) {
    for (const pugi::xml_node row : lists.child("parameters").children("parameter")) {
        if (name == row.attribute("name").value())
            return std::string(row.attribute("value").value());
    }
    return std::nullopt;
}

OccupancyEntry entryOf(pugi::xml_node opt, const EntryIdentities& identities) {
    OccupancyEntry entry;
    entry.registration = opt.attribute("reg").value();
    const auto fromRegistration =
        entry.registration.empty() ? std::nullopt : identities.ofRegistration(entry.registration);
    entry.identity = fromRegistration ? *fromRegistration
                                      : identities.ofCodes(opt.attribute("airl").value(),
                                                           opt.attribute("type").value());
    const std::string_view cs = opt.attribute("cs").value();
    const auto colon = cs.find(':');
    entry.callsign = std::string(cs.substr(0, colon));
    if (colon != std::string_view::npos) entry.callsign2 = std::string(cs.substr(colon + 1));
    entry.hours = gf_hours2bitset(opt.attribute("hh").value());
    entry.day = opt.attribute("day").as_int();
    entry.real = !opt.attribute("soft").as_bool();
    entry.cpl = opt.attribute("cpl").as_bool();
    entry.origin = 1;
    return entry;
}

std::optional<OccupancyEntry> readEntry(pugi::xml_node opt, const EntryIdentities& identities) {
    const unsigned day = opt.attribute("day").as_uint();
    if (std::string_view(opt.attribute("hh").value()).empty() || day < 1 || day > 7)
        return std::nullopt;
    return entryOf(opt, identities);
}

void readStandAttributes(pugi::xml_node parkpos, Stand& stand) {
    stand.latitude = parkpos.attribute("latitude").as_double();
    stand.longitude = parkpos.attribute("longitude").as_double();
    stand.radius = parkpos.attribute("radius").as_double() * metresToNm;
    stand.heading = parkpos.attribute("heading").as_double() * degrees;
    stand.type = static_cast<std::int16_t>(parkpos.attribute("type").as_int());
    if (stand.type != 0) {
        stand.cargo = isCargoRampType(stand.type);
        stand.ramp = isRampType(stand.type);
    } else {
        stand.cargo = parkpos.attribute("cargo").as_bool();
        stand.ramp = parkpos.attribute("ramp").as_bool();
    }
    stand.heli = parkpos.attribute("heli").as_bool();
}

std::vector<Stand> readStandList(pugi::xml_node lists, const EntryIdentities& identities) {
    std::vector<Stand> stands;
    std::unordered_set<std::string> seen;
    int count = 0;
    for (const pugi::xml_node parkpos : lists.child("parkpositions").children("parkpos")) {
        ++count;
        const pugi::xml_attribute idAttribute = parkpos.attribute("id");
        if (!idAttribute)
            throw UserErrorException(
                93, fmt::format("Parking position #{} has no '{}' attribute.", count, "id"));
        std::string id = trimmedId(idAttribute.value());
        if (id.empty())
            throw UserErrorException(
                93, fmt::format("Stand #{} has empty '{}' attribute.", count, "id"));
        if (!seen.insert(id).second)
            throw UserErrorException(94, fmt::format("Stand '{}' appears more than once.", id));
        Stand stand;
        stand.id = std::move(id);
        readStandAttributes(parkpos, stand);
        if (stand.latitude == 0.0 && stand.longitude == 0.0) {
            services::logMarked("stand {} has no valid lat/lon", stand.id);
            continue;
        }
        std::int32_t index = 0;
        for (const pugi::xml_node opt : parkpos.children("opt")) {
            auto entry = readEntry(opt, identities);
            if (!entry) continue;
            entry->index = ++index;
            stand.entries.push_back(std::move(*entry));
        }
        stands.push_back(std::move(stand));
    }
    return stands;
}

}  // namespace corv::airports
