#include "liveries/RegcodeLists.hpp"

#include <algorithm>
#include <string_view>
#include <system_error>

#include <pugixml.hpp>

#include "common/AircraftIdentity.hpp"
#include "common/TrimSpace.hpp"
#include "common/UpperCase.hpp"
#include "services/Log.hpp"
#include "services/TextFile.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t shortestRecordLine = 6;
constexpr std::size_t shortestRegistration = 3;

std::vector<std::string> splitAt(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const auto at = text.find(separator, from);
        parts.emplace_back(text.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

// The registrations of a comma-separated field, trimmed, empty entries left out.
std::vector<std::string> registrationsOf(std::string_view field) {
    std::vector<std::string> registrations;
    for (const std::string& part : splitAt(field, ',')) {
        if (const auto registration = common::trimSpace(part); !registration.empty())
            registrations.emplace_back(registration);
    }
    return registrations;
}

void logCount(const RegcodeList& list) {
    const std::size_t count = list.records.size();
    services::log("{:5} {} read from {}", count, count == 1 ? "livery" : "liveries",
                  list.path.string());
}
}  // namespace

RegcodeList readAigRegcodeFile(const fs::path& path) {
    RegcodeList list{path, {}, {}, false};
    pugi::xml_document document;
    if (!document.load_file(path.c_str())) {
        services::log("Failed to load {}", path.string());
        list.erroneous = true;
        return list;
    }
    const pugi::xml_node aig = document.child("root").child("aig");
    if (!aig) {
        services::log("No <aig> node found in XML.");
        list.erroneous = true;
        return list;
    }
    std::string previousTitle;
    for (const pugi::xml_node entry : aig.children("l")) {
        const pugi::xml_attribute title = entry.attribute("t");
        if (!title) continue;
        RegcodeRecord record{title.as_string(), registrationsOf(entry.attribute("r").as_string()),
                             entry.attribute("s").as_bool()};
        if (!previousTitle.empty() && record.title == previousTitle) {
            services::logMarked("Duplicate title '{}' (same as previous)", record.title);
            list.erroneous = true;
        }
        previousTitle = record.title;
        if (record.registrations.empty()) {
            list.dontUseTitles.push_back(std::move(record.title));
        } else {
            list.records.push_back(std::move(record));
        }
    }
    logCount(list);
    return list;
}

RegcodeList readUserRegcodeFile(const fs::path& path) {
    RegcodeList list{path, {}, {}, false};
    std::vector<std::string> lines;
    try {
        if (!services::readLines(services::detectCharset(path), path, lines)) {
            services::log("Failed to load {}", path.string());
            list.erroneous = true;
            return list;
        }
    } catch (const std::exception& e) {
        services::log("Failed to load {}: {}", path.string(), e.what());
        list.erroneous = true;
        return list;
    }
    for (const std::string& line : lines) {
        if (line.size() < shortestRecordLine) continue;
        const std::vector<std::string> fields = splitAt(line, ';');
        if (fields.size() != 2 && fields.size() != 3) continue;
        const std::string title(common::trimSpace(fields[0]));
        if (title.empty()) continue;
        std::vector<std::string> registrations = registrationsOf(fields[1]);
        if (registrations.empty()) {
            list.dontUseTitles.push_back(title);
            continue;
        }
        std::erase_if(registrations, [&](const std::string& registration) {
            if (registration.size() >= shortestRegistration &&
                registration.size() <= common::maxRegistrationLength)
                return false;
            services::log("wrong regcode length '{}' in {}", registration, path.string());
            list.erroneous = true;
            return true;
        });
        if (!registrations.empty())
            list.records.push_back({title, std::move(registrations), false});
    }
    logCount(list);
    return list;
}

UserRegcodeFiles readUserRegcodeFiles(const fs::path& folder) {
    UserRegcodeFiles files;
    std::vector<fs::path> paths;
    std::error_code error;
    if (!fs::exists(folder, error)) return files;
    try {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file() &&
                common::upperCase(entry.path().extension().string()) == ".TXT")
                paths.push_back(entry.path());
        }
    } catch (const fs::filesystem_error& e) {
        services::log("Error reading regcode files in {}, what: {}", folder.string(), e.what());
        files.erroneous = true;
        return files;
    }
    // The last file applied wins a registration: name order makes that predictable.
    std::sort(paths.begin(), paths.end());
    for (const fs::path& path : paths) {
        files.lists.push_back(readUserRegcodeFile(path));
        files.erroneous = files.erroneous || files.lists.back().erroneous;
    }
    return files;
}

}  // namespace corv::liveries
