#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "airports/TimeKey.hpp"
#include "airports/WeekSlot.hpp"

namespace corv::airports {
namespace {

using namespace std::chrono;

TEST(TimeKey, HalfHourOfTheClockChangesAtMinute29Second30) {
    const sys_days monday = 2026y / December / 7;
    const sys_days sunday = 2026y / December / 13;
    struct Case {
        sys_seconds at;
        TimeKey expected;
    };
    const Case cases[] = {
        {monday + 13h + 29min + 29s, {1, 26}},
        {monday + 13h + 29min + 30s, {1, 27}},
        {monday + 13h + 59min + 59s, {1, 27}},
        {monday + 14h, {1, 28}},
        {monday, {1, 0}},
        {sunday + 23h + 29min + 30s, {7, 47}},
        {sunday + 23h + 59min + 59s, {7, 47}},
        {sunday + 24h, {1, 0}},
        {sys_days{2026y / December / 9} + 1h + 53min + 10s, {3, 3}},     // a Wednesday
        {sys_days{2024y / February / 29} + 18h + 45min, {4, 37}},        // a leap day, Thursday
        {sys_days{2000y / January / 1} + 9h + 29min + 30s, {6, 19}},     // a Saturday
        {sys_days{1969y / December / 31} + 23h + 59min + 59s, {3, 47}},  // before the epoch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at.time_since_epoch().count());
        EXPECT_EQ(currentTimeKey(c.at), c.expected);
    }
}

TEST(TimeKey, WithoutAnInstantItIsTheUtcKeyOfNow) {
    // A local zone 14 hours off UTC, so a key from local time would differ.
    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone != nullptr ? zone : "";
    setenv("TZ", "<+14>-14", 1);
    tzset();
    // Read between two readings of the clock, it equals the key of one of them.
    const TimeKey before = currentTimeKey(system_clock::now());
    const TimeKey now = currentTimeKey();
    const TimeKey after = currentTimeKey(system_clock::now());
    if (zone != nullptr) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
    EXPECT_TRUE(now == before || now == after)
        << now.weekday << "/" << now.halfHour << " between " << before.weekday << "/"
        << before.halfHour << " and " << after.weekday << "/" << after.halfHour;
}

TEST(TimeKey, FitLooksBackAcrossMidnightAndTheWeek) {
    struct Case {
        TimeKey key;
        int fit;
        TimeKey expected;
    };
    const Case cases[] = {
        {{1, 1}, 3, {7, 46}},   {{3, 10}, 0, {3, 10}}, {{3, 10}, 10, {3, 0}},
        {{3, 10}, 11, {2, 47}}, {{7, 0}, 47, {6, 1}},  {{-1, -1}, 3, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.key.weekday << "/" << c.key.halfHour << " fit " << c.fit);
        EXPECT_EQ(fitSlot(c.key, c.fit), c.expected);
    }
}

TEST(WeekSlot, NumbersTheHalfHoursOfTheWeek) {
    EXPECT_EQ(weekSlot({1, 0}), 0);
    EXPECT_EQ(weekSlot({3, 10}), 106);
    EXPECT_EQ(weekSlot({7, 47}), 335);
    for (const WeekSlot slot : {0, 47, 48, 106, 335})
        EXPECT_EQ(weekSlot(timeKeyOf(slot)), slot);
    EXPECT_EQ(timeKeyOf(336), (TimeKey{1, 0}));
    EXPECT_EQ(timeKeyOf(-1), (TimeKey{7, 47}));
    EXPECT_EQ(slotsBetween(10, 15), 5);
    EXPECT_EQ(slotsBetween(335, 1), 2);  // over the end of the week
    EXPECT_EQ(slotsBetween(15, 10), 331);
}

TEST(TimeKey, WeekdayNames) {
    EXPECT_EQ(weekdayName(1), "Mon");
    EXPECT_EQ(weekdayName(7), "Sun");
    EXPECT_EQ(weekdayName(0), "???");
    EXPECT_EQ(weekdayName(8), "???");
}

}  // namespace
}  // namespace corv::airports
