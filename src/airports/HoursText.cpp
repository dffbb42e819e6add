#include "airports/HoursText.hpp"

#include <cstddef>
#include <vector>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "services/Log.hpp"

namespace corv::airports {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return pieces;
        text.remove_prefix(at + 1);
    }
}

// A decimal integer at the start of the trimmed token (so "12abc" reads 12) when it is a
// half-hour index; otherwise logs the token and gives nothing.
std::optional<int> readHour(std::string_view piece, std::string_view text) {
    const std::string_view token = trimmed(piece);
    std::size_t at = 0;
    const bool negative = at < token.size() && token[at] == '-';
    if (negative) ++at;
    const std::size_t firstDigit = at;
    int value = 0;
    for (; at < token.size() && token[at] >= '0' && token[at] <= '9'; ++at) {
        // Saturates: every value beyond the day is equally invalid.
        if (value < halfHoursPerDay) value = value * 10 + (token[at] - '0');
    }
    if (negative) value = -value;
    if (at == firstDigit || !HalfHourSet::isHalfHour(value)) {
        services::logMarked("{} invalid hour '{}' in {}", "operator ()", token, text);
        return std::nullopt;
    }
    return value;
}

HalfHourSet readRange(std::string_view text) {
    std::optional<int> start;
    std::optional<int> end;
    bool failed = false;
    for (const std::string_view piece : split(text, ':')) {
        if (start && end) {
            services::logMarked("{} more than one colon char in: {}", "gf_hours2bitset", text);
            return {};
        }
        const std::optional<int> hour = readHour(piece, text);
        if (!hour) {
            failed = true;
        } else if (!start) {
            start = hour;
        } else {
            end = hour;
        }
    }
    if (failed) return {};
    if (*start > *end) {
        services::logMarked("{} descending range not allowed ({}:{} in {})", "gf_hours2bitset",
                            *start, *end, text);
        return {};
    }
    return HalfHourSet::range(*start, *end);
}

HalfHourSet readList(std::string_view text) {
    HalfHourSet set;
    for (const std::string_view piece : split(text, ',')) {
        if (const std::optional<int> hour = readHour(piece, text)) set.insert(*hour);
    }
    return set;
}
}  // namespace

HalfHourSet gf_hours2bitset(std::string_view text) {
    if (text.empty()) return {};
    return text.find(':') != std::string_view::npos ? readRange(text) : readList(text);
}

std::optional<std::string> hoursAsList(HalfHourSet set) {
    if (set.empty()) return std::nullopt;
    std::vector<int> hours;
    for (int k = set.lowest(); k <= set.highest(); ++k) {
        if (set.contains(k)) hours.push_back(k);
    }
    return fmt::format("{}", fmt::join(hours, ","));
}

std::optional<std::string> hoursAsRange(HalfHourSet set) {
    if (set.empty()) return std::nullopt;
    const int lowest = set.lowest();
    const int highest = set.highest();
    if (set.size() != highest - lowest + 1) return std::nullopt;
    if (lowest == highest) return fmt::format("{}", lowest);
    return fmt::format("{}:{}", lowest, highest);
}

}  // namespace corv::airports
