#pragma once

#include <cstdint>

#include "airports/HalfHourSet.hpp"
#include "airports/TimeKey.hpp"

namespace corv::airports {

// A half hour of the week: (weekday - 1) * 48 + half-hour index, 0 ... 335.
using WeekSlot = std::int32_t;

inline constexpr WeekSlot slotsPerWeek = 7 * halfHoursPerDay;

constexpr WeekSlot weekSlot(TimeKey key) {
    return (key.weekday - 1) * halfHoursPerDay + key.halfHour;
}

// The weekday and half hour of a slot; any integer is taken modulo the week.
constexpr TimeKey timeKeyOf(std::int64_t slot) {
    const auto inWeek =
        static_cast<std::int32_t>((slot % slotsPerWeek + slotsPerWeek) % slotsPerWeek);
    return {inWeek / halfHoursPerDay + 1, inWeek % halfHoursPerDay};
}

// Half hours from one slot forward to another, across the end of the week: 0 ... 335.
constexpr std::int32_t slotsBetween(WeekSlot from, WeekSlot to) {
    return ((to - from) % slotsPerWeek + slotsPerWeek) % slotsPerWeek;
}

}  // namespace corv::airports
