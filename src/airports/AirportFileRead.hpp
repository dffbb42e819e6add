#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "airports/EntryIdentities.hpp"
#include "airports/Stand.hpp"

namespace corv::airports {

// The element holding an airport file's lists: "root", or the document itself in older files.
pugi::xml_node airportFileLists(const pugi::xml_document& document);

// The value of a "parameters"/"parameter" row; nothing when the row is absent.
std::optional<std::string> airportParameter(pugi::xml_node lists, std::string_view name);

// The fields of an "opt" element as they stand (the weekday signed, any value).
OccupancyEntry entryOf(pugi::xml_node opt, const EntryIdentities& identities);

// The occupancy entry of an "opt" element, or nothing when it has no hours or no weekday.
std::optional<OccupancyEntry> readEntry(pugi::xml_node opt, const EntryIdentities& identities);

// Every "parkpos" as a stand with its entries (numbered from 1, origin 1). A stand without a
// position is logged and skipped; a missing, empty or repeated id is the file's fault and throws
// corv::UserErrorException 93 or 94.
std::vector<Stand> readStandList(pugi::xml_node lists, const EntryIdentities& identities);

// The "parkpos" attributes of a stand: position, heading, radius, type and kind.
void readStandAttributes(pugi::xml_node parkpos, Stand& stand);

}  // namespace corv::airports
