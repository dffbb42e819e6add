#include "services/TimeText.hpp"

#include <array>
#include <string_view>

#include <fmt/format.h>

namespace corv::services {

namespace {
constexpr std::array<std::string_view, 7> weekdayNames = {"Mon", "Tue", "Wed", "Thu",
                                                          "Fri", "Sat", "Sun"};
constexpr std::array<std::string_view, 12> monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Okt", "Nov", "Dec"};
constexpr std::string_view unknownName = "???";

// ISO weekday: 1 = Monday ... 7 = Sunday.
std::string_view weekdayName(unsigned isoWeekday) {
    return (isoWeekday >= 1 && isoWeekday <= weekdayNames.size()) ? weekdayNames[isoWeekday - 1]
                                                                  : unknownName;
}
}  // namespace

std::string_view monthName(unsigned month) {
    return (month >= 1 && month <= monthNames.size()) ? monthNames[month - 1] : unknownName;
}

std::string timeText(std::int64_t unixSeconds) {
    using namespace std::chrono;
    // Beyond this the calendar types cannot hold the year.
    constexpr std::int64_t limit = 365LL * 24 * 3600 * 30000;
    if (unixSeconds > limit || unixSeconds < -limit) return "Invalid time";
    const sys_seconds instant{seconds{unixSeconds}};
    const sys_days day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{instant - day};
    if (!date.ok()) return "Invalid time";
    return fmt::format(
        "{:3} {:3} {:02} {:02}:{:02}:{:02} {:4}", weekdayName(weekday{day}.iso_encoding()),
        monthName(static_cast<unsigned>(date.month())), static_cast<unsigned>(date.day()),
        clock.hours().count(), clock.minutes().count(), clock.seconds().count(),
        static_cast<int>(date.year()));
}

std::string timeText(std::chrono::system_clock::time_point when) {
    return timeText(static_cast<std::int64_t>(
        std::chrono::floor<std::chrono::seconds>(when).time_since_epoch().count()));
}

std::string clockText() {
    const std::string text = timeText(std::chrono::system_clock::now());
    constexpr std::size_t fromEnd = 13;
    return text.size() >= fromEnd ? text.substr(text.size() - fromEnd, 8) : text;
}

}  // namespace corv::services
