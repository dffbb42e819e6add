#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace corv::liveries {

// The reference data keeps its lists in comma-separated attribute values.

// The items of a list in their order; empty items are skipped.
std::vector<std::string> splitList(std::string_view text);

// The items of every `element` of a section that must be present and must name something.
// Throws corv::UserErrorException code 61 "Missing section: {section}" or "In XML file section
// [{}], element [{}], attribute [{}] is empty.".
std::set<std::string, std::less<>> readRequiredList(pugi::xml_node root, const char* section,
                                                    const char* element, const char* attribute);

// One sorted group per `element` of an optional section; empty lists give no group.
std::vector<std::vector<std::string>> readSortedGroups(pugi::xml_node root, const char* section,
                                                       const char* element, const char* attribute);

}  // namespace corv::liveries
