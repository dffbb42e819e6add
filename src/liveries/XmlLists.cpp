#include "liveries/XmlLists.hpp"

#include <algorithm>

#include <fmt/format.h>

#include "common/UserErrorException.hpp"
#include "liveries/ReferenceDataError.hpp"

namespace corv::liveries {

std::vector<std::string> splitList(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) items.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::set<std::string, std::less<>> readRequiredList(pugi::xml_node root, const char* section,
                                                    const char* element, const char* attribute) {
    const pugi::xml_node node = root.child(section);
    if (!node) {
        throw UserErrorException(referenceDataErrorCode,
                                 fmt::format("Missing section: {}", section));
    }
    std::set<std::string, std::less<>> items;
    for (const pugi::xml_node child : node.children(element)) {
        for (std::string& item : splitList(child.attribute(attribute).as_string()))
            items.insert(std::move(item));
    }
    if (items.empty()) {
        throw UserErrorException(
            referenceDataErrorCode,
            fmt::format("In XML file section [{}], element [{}], attribute [{}] is empty.", section,
                        element, attribute));
    }
    return items;
}

std::vector<std::vector<std::string>> readSortedGroups(pugi::xml_node root, const char* section,
                                                       const char* element, const char* attribute) {
    std::vector<std::vector<std::string>> groups;
    for (const pugi::xml_node child : root.child(section).children(element)) {
        std::vector<std::string> group = splitList(child.attribute(attribute).as_string());
        if (group.empty()) continue;
        std::sort(group.begin(), group.end());
        groups.push_back(std::move(group));
    }
    return groups;
}

}  // namespace corv::liveries
