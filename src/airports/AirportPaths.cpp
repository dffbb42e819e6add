#include "airports/AirportPaths.hpp"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

#include "common/TrimSpace.hpp"
#include "services/TextFile.hpp"

namespace corv::airports {

namespace fs = std::filesystem;

namespace {
constexpr std::string_view localFolders[] = {"airports/my_thirdparty", "airports/my_ORBX"};

bool endsWithXml(std::string_view text) {
    if (text.size() < 4) return false;
    std::string ending(text.substr(text.size() - 4));
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending == ".xml";
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// Built piece by piece: GCC 12 warns falsely about std::string::replace in optimised builds.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    std::size_t start = 0;
    for (auto at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    return result.append(text.substr(start));
}

// The publisher comes from a file: it names one folder and never leads out of the tree.
std::string thirdPartyFolder(std::string_view publisher) {
    std::string folder = trimBlanks(publisher);
    std::replace(folder.begin(), folder.end(), '/', '_');
    std::replace(folder.begin(), folder.end(), '\\', '_');
    if (folder == "." || folder == "..") folder = "_";
    return "airports/learned/thirdparty/" + folder;
}
}  // namespace

std::optional<std::string> readLink(const fs::path& linkFile) {
    std::vector<std::string> lines;
    if (services::readTextLines(linkFile, lines) == services::Charset::NoneFound) return {};
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    while (!text.empty() && common::isSpace(text.back()))
        text.pop_back();
    if (!endsWithXml(text)) return {};
    return text;
}

std::string resolveAirportFile(const fs::path& workFolder, const AirportCatalogue& catalogue,
                               const AirportCode& code) {
    const std::string icao = code.str();
    for (std::string_view folder : localFolders) {
        if (auto link = readLink(workFolder / folder / (icao + ".txt"))) return *link;
        std::string local = std::string(folder) + "/" + icao + ".xml";
        if (fileExists(workFolder / local)) return local;
    }
    const CatalogueAirport* airport = catalogue.findAirport(code);
    if (airport != nullptr && airport->standClass >= 1) return "archive/stock/" + icao + ".xml";
    return {};
}

bool hasStandData(const fs::path& workFolder, const AirportCatalogue& catalogue,
                  const AirportCode& code) {
    const std::string icao = code.str();
    for (std::string_view folder : localFolders) {
        for (const char* extension : {".txt", ".xml"}) {
            if (fileExists(workFolder / folder / (icao + extension))) return true;
        }
    }
    const CatalogueAirport* airport = catalogue.findAirport(code);
    return airport != nullptr && airport->standClass > 0;
}

bool isLocalAirportPath(std::string_view path) {
    return path.starts_with("airports");
}

std::optional<std::string> learnedPathOf(std::string_view airportPath, std::string_view publisher) {
    const std::string path = replaceAll(std::string(airportPath), "/", "\\");
    if (!endsWithXml(path)) return {};
    const std::string fileName = path.substr(path.find_last_of('\\') + 1);

    if (path.starts_with("archive\\stock\\")) return "airports/learned/stock/" + fileName;
    if (path.starts_with("archive\\simaddon\\")) return "airports/learned/simaddon/" + fileName;
    constexpr std::string_view thirdParty = "archive\\thirdparty\\";
    if (const auto at = path.find(thirdParty); at != std::string::npos) {
        const auto start = at + thirdParty.size();
        const auto end = path.find('\\', start);
        if (end == std::string::npos) return {};
        const std::string folder =
            trimBlanks(replaceAll(path.substr(start, end - start), "%20", " "));
        if (folder.empty()) return {};
        return "airports/learned/thirdparty/" + folder + "/" + fileName;
    }
    constexpr std::string_view airports = "airports\\";
    if (!path.starts_with(airports)) return {};
    const std::string rest = path.substr(airports.size());
    if (rest.starts_with("my_thirdparty2024\\") || rest.starts_with("my_thirdparty\\")) {
        if (trimBlanks(publisher).empty()) return {};
        return thirdPartyFolder(publisher) + "/" + fileName;
    }
    return "airports/learned/" + replaceAll(rest, "\\", "/");
}

std::string learnedFolderOf(std::string_view publisher) {
    if (publisher == "stock") return "airports/learned/stock";
    if (publisher == "simaddon") return "airports/learned/simaddon";
    return thirdPartyFolder(publisher);
}

std::int32_t defaultParkingPercentage(std::int32_t standClass) {
    if (standClass == 1) return 100;
    if (standClass == 2) return 50;
    return 30;
}

}  // namespace corv::airports
