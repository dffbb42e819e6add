#include "airports/AirportFileXml.hpp"

#include <numbers>
#include <string>
#include <string_view>
#include <unordered_set>

#include "airports/HoursText.hpp"
#include "common/GreatCircle.hpp"
#include "common/ProgramIdentity.hpp"
#include "common/TrimSpace.hpp"
#include "common/UserErrorException.hpp"
#include "services/Log.hpp"
#include "settings/MetaBlock.hpp"

namespace corv::airports {

namespace {
constexpr double degreesToRadians = std::numbers::pi / 180.0;
}  // namespace

pugi::xml_node listsParent(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    return root ? root : document;
}

pugi::xml_attribute parameterValue(pugi::xml_node listsParent, const char* name) {
    return listsParent.child("parameters")
        .find_child_by_attribute("parameter", "name", name)
        .attribute("value");
}

bool acceptedByMeta(pugi::xml_node listsParent) {
    if (!listsParent.child("meta")) return true;
    const std::string author = settings::readMeta(listsParent).author;
    return author.empty() || author == programName;
}

void readStandPlace(pugi::xml_node parkpos, Stand& stand) {
    stand.latitude = parkpos.attribute("latitude").as_double();
    stand.longitude = parkpos.attribute("longitude").as_double();
    stand.radius = parkpos.attribute("radius").as_double() / common::metresPerNm;
    stand.heading = parkpos.attribute("heading").as_double() * degreesToRadians;
    stand.type = static_cast<std::int16_t>(parkpos.attribute("type").as_int());
    if (stand.type != 0) {
        stand.cargo = isCargoType(stand.type);
        stand.ramp = isRampType(stand.type);
    } else {
        stand.cargo = parkpos.attribute("cargo").as_bool();
        stand.ramp = parkpos.attribute("ramp").as_bool();
    }
    stand.heli = parkpos.attribute("heli").as_bool();
}

OccupancyEntry readEntryBase(pugi::xml_node opt, const AircraftIdentities& identities,
                             std::int32_t origin) {
    OccupancyEntry entry;
    entry.registration = opt.attribute("reg").as_string();
    const auto fromRegistration =
        entry.registration.empty() ? std::nullopt : identities.ofRegistration(entry.registration);
    entry.identity = fromRegistration ? *fromRegistration
                                      : identities.ofCodes(opt.attribute("airl").as_string(),
                                                           opt.attribute("type").as_string());
    const std::string_view callsigns = opt.attribute("cs").as_string();
    const auto colon = callsigns.find(':');
    entry.callsign = std::string(callsigns.substr(0, colon));
    if (colon != std::string_view::npos) entry.callsign2 = std::string(callsigns.substr(colon + 1));
    entry.origin = origin;
    entry.real = !opt.attribute("soft").as_bool();
    entry.cpl = opt.attribute("cpl").as_bool();
    return entry;
}

void readStandEntries(pugi::xml_node parkpos, Stand& stand, const AircraftIdentities& identities,
                      std::int32_t origin) {
    std::int32_t next = stand.entries.empty() ? 1 : stand.entries.back().index + 1;
    for (pugi::xml_node opt : parkpos.children("opt")) {
        const std::string_view hours = opt.attribute("hh").as_string();
        const unsigned day = opt.attribute("day").as_uint();
        if (hours.empty() || day < 1 || day > 7) continue;
        OccupancyEntry entry = readEntryBase(opt, identities, origin);
        entry.hours = gf_hours2bitset(hours);
        entry.day = static_cast<std::int32_t>(day);
        entry.index = next++;
        stand.entries.push_back(std::move(entry));
    }
}

std::vector<Stand> readStandList(pugi::xml_node parkpositions, const AircraftIdentities& identities,
                                 std::int32_t origin) {
    std::vector<Stand> stands;
    std::unordered_set<std::string> seen;
    int count = 0;
    for (pugi::xml_node parkpos : parkpositions.children("parkpos")) {
        ++count;
        const pugi::xml_attribute idAttribute = parkpos.attribute("id");
        if (!idAttribute) {
            throw UserErrorException(
                standIdErrorCode,
                fmt::format("Parking position #{} has no '{}' attribute.", count, "id"));
        }
        Stand stand;
        stand.id = std::string(common::trimSpace(idAttribute.as_string()));
        if (stand.id.empty()) {
            throw UserErrorException(
                standIdErrorCode, fmt::format("Stand #{} has empty '{}' attribute.", count, "id"));
        }
        if (!seen.insert(stand.id).second) {
            throw UserErrorException(repeatedStandErrorCode,
                                     fmt::format("Stand '{}' appears more than once.", stand.id));
        }
        readStandPlace(parkpos, stand);
        if (stand.latitude == 0.0 && stand.longitude == 0.0) {
            services::logMarked("stand {} has no valid lat/lon", stand.id);
            continue;
        }
        readStandEntries(parkpos, stand, identities, origin);
        stands.push_back(std::move(stand));
    }
    return stands;
}

}  // namespace corv::airports
