#include "realtraffic/DatagramFields.hpp"

#include <charconv>
#include <cmath>

namespace corv::realtraffic {

void splitFields(std::string_view text, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

std::optional<double> parseNumber(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> parseLeadingDigits(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 4294967295ULL) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) return std::nullopt;
    return value;
}

std::string_view trimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace corv::realtraffic
