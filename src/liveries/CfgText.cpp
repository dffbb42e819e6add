#include "liveries/CfgText.hpp"

#include <algorithm>
#include <exception>

#include "common/TrimSpace.hpp"
#include "services/Log.hpp"
#include "services/TextFile.hpp"

namespace corv::liveries {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (upper(text[i]) != upper(prefix[i])) return false;
    }
    return true;
}

std::string_view skipSpace(std::string_view text) {
    while (!text.empty() && common::isSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

bool endsSection(std::string_view line) {
    const auto bracket = line.find('[');
    return bracket != std::string_view::npos && bracket < 6;
}

}  // namespace

std::optional<std::vector<std::string>> readCfgLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    try {
        if (services::readTextLines(path, lines) == services::Charset::NoneFound) {
            services::log("! No text encoding detected for {}", path.string());
            return std::nullopt;
        }
    } catch (const std::exception&) {
        services::log("! Failed reading {}", path.string());
        return std::nullopt;
    }
    return lines;
}

bool isCfgComment(std::string_view line) {
    return common::trimSpace(line).starts_with("//");
}

std::optional<std::string_view> cfgValue(std::string_view line, std::string_view key) {
    std::string_view rest = skipSpace(line);
    if (!startsWithNoCase(rest, key)) return std::nullopt;
    rest = skipSpace(rest.substr(key.size()));
    if (rest.empty() || rest.front() != '=') return std::nullopt;
    rest = common::trimSpace(rest.substr(1));
    if (rest.empty()) return std::nullopt;
    return rest;
}

std::optional<std::string_view> firstCfgValue(const std::vector<std::string>& lines,
                                              std::string_view key) {
    for (const std::string& line : lines) {
        if (auto value = cfgValue(line, key)) return value;
    }
    return std::nullopt;
}

std::optional<std::string_view> fltsimHeader(std::string_view line) {
    if (isCfgComment(line)) return std::nullopt;
    const std::string_view text = common::trimSpace(line);
    constexpr std::string_view opening = "[fltsim.";
    if (startsWithNoCase(text, opening) && text.size() > opening.size() + 1 && text.back() == ']') {
        const std::string_view digits =
            text.substr(opening.size(), text.size() - opening.size() - 1);
        if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return digits;
    }
    if (line.find("[fltsim.") != std::string_view::npos ||
        line.find("[FLTSIM.") != std::string_view::npos) {
        return std::string_view();
    }
    return std::nullopt;
}

void forEachFltsimSection(const std::vector<std::string>& lines,
                          const std::function<void(const std::vector<std::string_view>&)>& visit) {
    std::vector<std::string_view> section;
    for (const std::string& line : lines) {
        if (fltsimHeader(line)) {
            if (!section.empty()) visit(section);
            section.assign(1, line);
        } else if (!section.empty()) {
            if (endsSection(line)) {
                visit(section);
                section.clear();
            } else {
                section.push_back(line);
            }
        }
    }
    if (!section.empty()) visit(section);
}

}  // namespace corv::liveries
