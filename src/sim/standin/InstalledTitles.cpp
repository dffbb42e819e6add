#include "sim/standin/InstalledTitles.hpp"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "services/TextFile.hpp"

namespace corv::sim::standin {

namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

struct KeyValue {
    std::string key;  // lower case
    std::string value;
};

std::optional<KeyValue> splitKeyValue(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view value = line.substr(equals + 1);
    // Values of other keys may carry "//" comments; titles never do in practice.
    if (const auto comment = value.find("//"); comment != std::string_view::npos) {
        value = value.substr(0, comment);
    }
    return KeyValue{lower(trim(line.substr(0, equals))), std::string(trim(value))};
}

double leadingNumber(const std::string& text) {
    try {
        return std::stod(text);
    } catch (const std::exception&) {
        return 0.0;
    }
}

bool isConfigFile(const std::filesystem::path& path) {
    const auto name = lower(path.filename().string());
    return name == "aircraft.cfg" || name == "sim.cfg";
}

}  // namespace

void readAircraftConfig(const std::filesystem::path& file,
                        std::map<std::string, InstalledTitle>& titles) {
    const auto charset = services::detectCharset(file);
    std::vector<std::string> lines;
    if (charset == services::Charset::NoneFound || !services::readLines(charset, file, lines))
        return;

    std::vector<std::string> fileTitles;
    std::string atcModel;
    double maxGrossWeight = 0.0;
    std::string section;
    for (const auto& raw : lines) {
        const auto line = trim(raw);
        if (line.empty() || line.starts_with("//") || line.starts_with(";")) continue;
        if (line.front() == '[') {
            section = lower(line.substr(0, line.find(']') + 1));
            continue;
        }
        const auto pair = splitKeyValue(line);
        if (!pair) continue;
        if (section.starts_with("[fltsim.") && pair->key == "title" && !pair->value.empty()) {
            fileTitles.push_back(pair->value);
        } else if (section == "[general]" && pair->key == "atc_model") {
            atcModel = pair->value;
        } else if (section == "[weight_and_balance]" && pair->key == "max_gross_weight") {
            maxGrossWeight = leadingNumber(pair->value);
        }
    }
    for (auto& title : fileTitles) {
        titles.try_emplace(title, InstalledTitle{title, atcModel, maxGrossWeight});
    }
}

std::map<std::string, InstalledTitle> findInstalledTitles(
    const std::vector<std::filesystem::path>& folders) {
    std::map<std::string, InstalledTitle> titles;
    for (const auto& folder : folders) {
        std::error_code ec;
        if (folder.empty() || !std::filesystem::is_directory(folder, ec)) continue;
        // Sorted, so that the first file naming a title is the same on every machine.
        std::vector<std::filesystem::path> files;
        const auto options = std::filesystem::directory_options::skip_permission_denied;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, options, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_regular_file(ec) && isConfigFile(it->path())) files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            try {
                readAircraftConfig(file, titles);
            } catch (const std::runtime_error&) {
                // A damaged file holds no loadable livery, as in the real simulator.
            }
        }
    }
    return titles;
}

}  // namespace corv::sim::standin
