#include "liveries/LiveriesScannedFile.hpp"

#include <algorithm>
#include <string>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "common/UserErrorException.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"
#include "settings/MetaBlock.hpp"
#include "settings/SettingsFile.hpp"
#include "settings/XmlDocument.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
void setText(pugi::xml_node element, const char* name, std::string_view value) {
    element.append_attribute(name).set_value(std::string(value).c_str());
}

std::string requiredText(pugi::xml_node element, const char* name) {
    const std::string value = element.attribute(name).as_string();
    if (value.empty()) {
        throw UserErrorException(
            999, fmt::format("Missing required attribute '{}' in <{}>", name, element.name()));
    }
    return value;
}

void sortByTitle(std::vector<LiveryData>& liveries) {
    std::sort(liveries.begin(), liveries.end(),
              [](const LiveryData& a, const LiveryData& b) { return a.title < b.title; });
}
}  // namespace

void writeLiveriesScanned(const fs::path& path, const std::vector<LiveryData>& liveries,
                          const ReferenceData& reference, int simNumber) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    settings::writeMeta(root, settings::builtInVersionText(), simNumber);
    pugi::xml_node list = root.append_child("liveries");
    for (const LiveryData& livery : liveries) {
        pugi::xml_node element = list.append_child("l");
        setText(element, "a", reference.airlineText(livery.airline));
        if (livery.operatorIndex != 0)
            setText(element, "o", reference.airlineText(livery.operatorIndex));
        setText(element, "m", reference.modelText(livery.model));
        if (livery.cargo) setText(element, "c", "true");
        setText(element, "t", livery.title);
        if (!livery.registration.empty()) setText(element, "r", livery.registration);
    }
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (const std::string failure = settings::saveXmlDocument(document, path); !failure.empty()) {
        services::logMarked("saving {} failed: {}", path.string(), failure);
        return;
    }
    services::log("{} liveries in {}", liveries.size(), path.string());
}

std::vector<LiveryData> readLiveriesScanned(const fs::path& path, ReferenceData& reference) {
    pugi::xml_document document;
    if (!document.load_file(path.c_str()))
        throw UserErrorException(51, fmt::format("File {} not found", path.string()));
    const pugi::xml_node list = document.child("root").child("liveries");
    if (!list) {
        throw UserErrorException(
            52, fmt::format("{} does not contain a <liveries> section", path.string()));
    }
    std::vector<LiveryData> liveries;
    for (const pugi::xml_node element : list.children()) {
        if (element.type() != pugi::node_element) continue;
        LiveryData livery;
        livery.airline = reference.internAirline(requiredText(element, "a"));
        livery.model = reference.internModel(requiredText(element, "m"));
        livery.title = requiredText(element, "t");
        if (const std::string op = element.attribute("o").as_string(); !op.empty())
            livery.operatorIndex = reference.internAirline(op);
        livery.cargo = element.attribute("c").as_bool(false);
        livery.registration = element.attribute("r").as_string();
        liveries.push_back(std::move(livery));
    }
    if (liveries.empty())
        throw UserErrorException(533, path.string() + " does not contain liveries");
    sortByTitle(liveries);
    services::log("{:5} liveries read from {}", liveries.size(), path.string());
    return liveries;
}

}  // namespace corv::liveries
