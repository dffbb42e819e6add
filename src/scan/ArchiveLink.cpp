#include "scan/ArchiveLink.hpp"

#include <algorithm>
#include <fstream>

#include <fmt/format.h>

#include "common/UpperCase.hpp"

namespace corv::scan {
namespace {

const std::string simAddon = "simaddon";

bool containsIgnoringCase(const std::string& text, const std::string& part) {
    return common::upperCase(text).find(common::upperCase(part)) != std::string::npos;
}

std::string blanksEscaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == ' ' ? std::string("%20") : std::string(1, c);
    return out;
}

// The link file holds the archive path and a line end.
bool writeLinkFile(const std::filesystem::path& folder, const ScannedAirport& airport,
                   const std::string& link, ScanMessages& messages) {
    const std::filesystem::path path = folder / (airport.code.str() + ".txt");
    std::filesystem::create_directories(folder);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << link << "\n";
    if (out.flush()) return true;
    messages.push_back(fmt::format("{}Writing {} did not succeed", "===> ", path.string()));
    return false;
}

std::string thirdPartyLink(const ScannedAirport& airport, const PublisherLists& lists) {
    const auto listed = std::find_if(
        lists.publisherAirports.begin(), lists.publisherAirports.end(), [&](const auto& entry) {
            return entry.publisher == airport.publisher &&
                   std::find(entry.airports.begin(), entry.airports.end(), airport.code.view()) !=
                       entry.airports.end();
        });
    if (listed == lists.publisherAirports.end()) return {};
    return "archive/thirdparty/" + blanksEscaped(airport.publisher) + "/" + airport.code.str() +
           ".xml";
}

}  // namespace

void publisherFromPath(ScannedAirport& airport, const PublisherLists& lists,
                       ScanMessages& messages) {
    if (containsIgnoringCase(airport.bglPath, "ORBX")) {
        airport.publisher = simAddon;
        messages.push_back(fmt::format("from filename => publisher {}", simAddon));
        return;
    }
    for (const auto& names : lists.publishers) {
        for (const std::string& name : names) {
            if (!name.empty() && containsIgnoringCase(airport.bglPath, name)) {
                airport.publisher = names.front();
                return;
            }
        }
    }
}

bool linkToArchive(ScannedAirport& airport, const PublisherLists& lists,
                   const std::filesystem::path& airportsFolder, ScanMessages& messages) {
    if (airport.publisher.empty()) publisherFromPath(airport, lists, messages);
    if (airport.publisher.empty()) return false;

    if (airport.publisher == simAddon) {
        if (!lists.simAddonAirports.contains(airport.code.view())) {
            messages.push_back(fmt::format("{} does not exist as simaddon", airport.code));
            return false;
        }
        const std::string link = "archive/" + simAddon + "/" + airport.code.str() + ".xml";
        if (!writeLinkFile(airportsFolder / "my_ORBX", airport, link, messages)) return false;
        messages.push_back(fmt::format("{} airport {} linked to {}\n", simAddon, airport.code, link));
        return true;
    }
    const std::string link = thirdPartyLink(airport, lists);
    if (link.empty()) {
        messages.push_back(
            fmt::format("thirdparty {} {} does not exist", airport.publisher, airport.code));
        return false;
    }
    if (!writeLinkFile(airportsFolder / "my_thirdparty", airport, link, messages)) return false;
    messages.push_back(fmt::format("thirdparty airport {} linked to {}\n", airport.code, link));
    return true;
}

}  // namespace corv::scan
