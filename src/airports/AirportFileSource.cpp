#include "airports/AirportFileSource.hpp"

#include <algorithm>
#include <cctype>
#include <vector>

#include "services/TextFile.hpp"

namespace corv::airports {

namespace {
const char* const addonFolders[] = {"airports/my_thirdparty", "airports/my_ORBX"};

bool endsWithXml(std::string_view text) {
    if (text.size() < 4) return false;
    std::string tail(text.substr(text.size() - 4));
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".xml";
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}
}  // namespace

std::optional<std::string> linkTarget(const std::filesystem::path& linkFile) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(linkFile, error)) return std::nullopt;
    std::vector<std::string> lines;
    services::readTextLines(linkFile, lines);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    if (!endsWithXml(text)) return std::nullopt;
    return text;
}

std::string resolveAirportFile(const std::filesystem::path& folder,
                               const AirportCatalogue& catalogue, const AirportCode& code) {
    const std::string icao = code.str();
    std::error_code error;
    for (const char* addon : addonFolders) {
        if (auto link = linkTarget(folder / addon / (icao + ".txt"))) return *link;
        const std::string local = std::string(addon) + "/" + icao + ".xml";
        if (std::filesystem::exists(folder / local, error)) return local;
    }
    const CatalogueAirport* airport = catalogue.findAirport(code);
    if (airport != nullptr && airport->standClass >= 1) return "archive/stock/" + icao + ".xml";
    return {};
}

bool hasStandData(const std::filesystem::path& folder, const AirportCatalogue& catalogue,
                  const AirportCode& code) {
    const std::string icao = code.str();
    std::error_code error;
    for (const char* addon : addonFolders) {
        for (const char* extension : {".txt", ".xml"}) {
            if (std::filesystem::exists(folder / addon / (icao + extension), error)) return true;
        }
    }
    const CatalogueAirport* airport = catalogue.findAirport(code);
    return airport != nullptr && airport->standClass > 0;
}

std::optional<std::filesystem::path> learnedPathOf(std::string_view airportFile,
                                                   std::string_view publisher) {
    std::string path(airportFile);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!endsWithXml(path)) return std::nullopt;
    const std::string name = path.substr(path.rfind('\\') + 1);
    const auto starts = [&](std::string_view prefix) { return path.rfind(prefix, 0) == 0; };
    if (starts("archive\\stock\\")) return std::filesystem::path("airports/learned/stock") / name;
    if (starts("archive\\simaddon\\"))
        return std::filesystem::path("airports/learned/simaddon") / name;
    constexpr std::string_view thirdParty = "archive\\thirdparty\\";
    if (const auto at = path.find(thirdParty); at != std::string::npos) {
        const auto begin = at + thirdParty.size();
        const auto end = path.find('\\', begin);
        if (end == std::string::npos) return std::nullopt;
        std::string folder = path.substr(begin, end - begin);
        for (std::size_t blank; (blank = folder.find("%20")) != std::string::npos;)
            folder.replace(blank, 3, " ");
        folder = trimmed(folder);
        if (folder.empty()) return std::nullopt;
        return std::filesystem::path("airports/learned/thirdparty") / folder / name;
    }
    if (starts("airports\\my_thirdparty2024\\") || starts("airports\\my_thirdparty\\")) {
        const std::string owner = trimmed(publisher);
        if (owner.empty()) return std::nullopt;
        return std::filesystem::path("airports/learned/thirdparty") / owner / name;
    }
    if (starts("airports\\")) {
        std::string rest = path.substr(std::string_view("airports\\").size());
        std::replace(rest.begin(), rest.end(), '\\', '/');
        return std::filesystem::path("airports/learned") / rest;
    }
    return std::nullopt;
}

}  // namespace corv::airports
