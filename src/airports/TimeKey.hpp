#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace corv::airports {

// A UTC weekday (1 Monday ... 7 Sunday) with a half-hour index (0 ... 47). The run keeps the
// current one in a std::atomic, so it is trivially copyable and fits in 64 bits, weekday first.
struct TimeKey {
    std::int32_t weekday = -1;  // -1: not known
    std::int32_t halfHour = -1;

    friend constexpr bool operator==(const TimeKey&, const TimeKey&) = default;
};
static_assert(std::is_trivially_copyable_v<TimeKey> && sizeof(TimeKey) == 8);

// "Mon" ... "Sun"; "???" for any other value.
std::string_view weekdayName(int weekday);

// The weekday and half hour at the instant. The second half of every hour starts at minute 29,
// second 30.
TimeKey currentTimeKey(std::chrono::system_clock::time_point now);
TimeKey currentTimeKey();

// The weekday and half hour that lie `fit` half hours before the key.
TimeKey fitSlot(TimeKey key, int fit);

}  // namespace corv::airports
