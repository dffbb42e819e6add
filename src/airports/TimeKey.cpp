#include "airports/TimeKey.hpp"

#include <array>

#include "airports/HalfHourSet.hpp"
#include "airports/WeekSlot.hpp"

namespace corv::airports {

std::string_view weekdayName(int weekday) {
    static constexpr std::array<std::string_view, 7> names{"Mon", "Tue", "Wed", "Thu",
                                                           "Fri", "Sat", "Sun"};
    if (weekday < 1 || weekday > 7) return "???";
    return names[static_cast<std::size_t>(weekday - 1)];
}

TimeKey currentTimeKey(std::chrono::system_clock::time_point now) {
    using namespace std::chrono;
    const sys_days day = floor<days>(now);
    const hh_mm_ss<seconds> clock{floor<seconds>(now - day)};
    const long hour = clock.hours().count();
    const long minute = clock.minutes().count();
    const long second = clock.seconds().count();
    const bool secondHalf = minute >= 30 || (minute == 29 && second >= 30);
    TimeKey key;
    key.weekday = static_cast<std::int32_t>(weekday(day).iso_encoding());
    key.halfHour = static_cast<std::int32_t>((2 * hour + (secondHalf ? 1 : 0)) % halfHoursPerDay);
    return key;
}

TimeKey currentTimeKey() {
    return currentTimeKey(std::chrono::system_clock::now());
}

TimeKey fitSlot(TimeKey key, int fit) {
    // An unknown time stays unknown rather than turning into some day of the week.
    if (key.weekday < 1 || key.weekday > 7 || !HalfHourSet::isHalfHour(key.halfHour)) return key;
    // Counted on the week, so a look-back of more than one day still lands on a valid slot.
    return timeKeyOf(weekSlot(key) - fit);
}

}  // namespace corv::airports
