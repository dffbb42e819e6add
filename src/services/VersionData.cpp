#include "services/VersionData.hpp"

#include <exception>
#include <regex>
#include <stdexcept>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "services/Log.hpp"

namespace corv::services {

namespace {
int toVersionPart(const std::string& digits) {
    try {
        return std::stoi(digits);
    } catch (const std::exception&) {
        throw std::runtime_error("parse error in version string");
    }
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
}  // namespace

VersionData::VersionData(std::string_view text) {
    if (text.empty()) return;
    try {
        static const std::regex dotted(R"((\d+)\.(\d+)\.(\d+))");
        std::match_results<std::string_view::const_iterator> groups;
        if (std::regex_match(text.begin(), text.end(), groups, dotted)) {
            major = toVersionPart(groups[1].str());
            minor = toVersionPart(groups[2].str());
            patch = toVersionPart(groups[3].str());
            return;
        }
        const std::string_view rest = trimmed(text);
        if (!rest.starts_with('{')) throw std::runtime_error("invalid version format");
        const nlohmann::json object = nlohmann::json::parse(rest);
        major = object.at("major").get<int>();
        minor = object.at("minor").get<int>();
        patch = object.at("patch").get<int>();
    } catch (const std::exception& e) {
        log("{} exception: {}", "VersionData", e.what());
    }
}

std::string VersionData::text() const {
    return fmt::format("{}.{}.{}", major, minor, patch);
}

}  // namespace corv::services
