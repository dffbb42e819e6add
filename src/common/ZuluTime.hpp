#pragma once

#include <cstdint>

namespace corv::common {

// Seconds since 1970-01-01 00:00 UTC from the simulator's zulu year, day of the year (1-based)
// and seconds of the day, by the proleptic Gregorian day count.
constexpr std::int64_t unixSecondsFromZulu(std::int64_t year, std::int64_t dayOfYear,
                                           std::int64_t secondsOfDay) {
    const std::int64_t c = (year - 1) / 100;
    // Arithmetic shifts floor the divisions by 4 also below year 1.
    const std::int64_t days = dayOfYear + (((year - 1) * 1461) >> 2) + (c >> 2) - c - 719163;
    return days * 86400 + secondsOfDay;
}

static_assert(unixSecondsFromZulu(1970, 1, 0) == 0);

}  // namespace corv::common
