#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "airports/AircraftIdentities.hpp"
#include "airports/Stand.hpp"

namespace corv::airports {

// User errors of a damaged stand list.
inline constexpr int standIdErrorCode = 93;
inline constexpr int repeatedStandErrorCode = 94;

// The element that holds "parameters" and "parkpositions": "root", or the document itself in
// files written without one.
pugi::xml_node listsParent(const pugi::xml_document& document);

// The "value" of the named "parameter"; empty when the file has none.
pugi::xml_attribute parameterValue(pugi::xml_node listsParent, const char* name);

// Files that another program wrote are not ours to read.
bool acceptedByMeta(pugi::xml_node listsParent);

// Position, heading, radius, type and kind of a "parkpos".
void readStandPlace(pugi::xml_node parkpos, Stand& stand);

// Identity, callsigns, registration and flags of an "opt"; hours, day and numbering are the
// caller's, since airport and learned files treat them differently.
OccupancyEntry readEntryBase(pugi::xml_node opt, const AircraftIdentities& identities,
                             std::int32_t origin);

// The stands of a "parkpositions" element with their entries, in file order. Stands without a
// position are skipped; a missing, empty or repeated id throws UserErrorException.
std::vector<Stand> readStandList(pugi::xml_node parkpositions, const AircraftIdentities& identities,
                                 std::int32_t origin);

// Reads the stand's "opt" elements into it (entries with hours and a weekday), numbered on.
void readStandEntries(pugi::xml_node parkpos, Stand& stand, const AircraftIdentities& identities,
                      std::int32_t origin);

}  // namespace corv::airports
