#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace corv::services {

// "Wed Dec 09 01:53:10 2026" in UTC (October is "Okt"); "Invalid time" when the instant
// cannot be expressed as a calendar date.
std::string timeText(std::int64_t unixSeconds);
std::string timeText(std::chrono::system_clock::time_point when);

// "hh:mm:ss" of now, as it stands in timeText.
std::string clockText();

// Three-letter month name, 1 = "Jan" ... 12 = "Dec"; "???" outside that range.
std::string_view monthName(unsigned month);

}  // namespace corv::services
