#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "airports/HoursText.hpp"
#include "support/LogCapture.hpp"

namespace corv::airports {
namespace {

HalfHourSet setOf(std::initializer_list<int> hours) {
    HalfHourSet set;
    for (int hour : hours)
        set.insert(hour);
    return set;
}

TEST(HoursText, ReadsRangesAndLists) {
    struct Case {
        const char* text;
        HalfHourSet expected;
        const char* line;  // the marked log line, or nullptr
    };
    const Case cases[] = {
        {"10:20", HalfHourSet::range(10, 20), nullptr},
        {" 3 : 5 ", setOf({3, 4, 5}), nullptr},
        {"5:5", setOf({5}), nullptr},
        {"0:47", HalfHourSet::range(0, 47), nullptr},
        {"20:10", {}, "==> gf_hours2bitset descending range not allowed (20:10 in 20:10)"},
        {"10:20:30", {}, "==> gf_hours2bitset more than one colon char in: 10:20:30"},
        {"10:", {}, "==> operator () invalid hour '' in 10:"},
        {"x:10:20", {}, "==> operator () invalid hour 'x' in x:10:20"},
        {"47,0, 5", setOf({0, 5, 47}), nullptr},
        {"12abc", setOf({12}), nullptr},
        {"1,x,2", setOf({1, 2}), "==> operator () invalid hour 'x' in 1,x,2"},
        {"48", {}, "==> operator () invalid hour '48' in 48"},
        {"-1", {}, "==> operator () invalid hour '-1' in -1"},
        {"99999999999999999999",
         {},
         "==> operator () invalid hour '99999999999999999999' in 99999999999999999999"},
        {"", {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::LogCapture logged;
        EXPECT_EQ(gf_hours2bitset(c.text), c.expected);
        if (c.line != nullptr) {
            EXPECT_TRUE(logged.contains(c.line));
        } else {
            EXPECT_TRUE(logged.lines().empty());
        }
    }
}

TEST(HoursText, WritesListsAndRanges) {
    struct Case {
        HalfHourSet set;
        std::optional<std::string> list;
        std::optional<std::string> range;
    };
    const Case cases[] = {
        {setOf({3, 4, 5}), "3,4,5", "3:5"},
        {setOf({7}), "7", "7"},
        {setOf({3, 5}), "3,5", std::nullopt},
        {setOf({0, 47}), "0,47", std::nullopt},
        {HalfHourSet::range(0, 47), std::nullopt, "0:47"},
        {{}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set.bits());
        if (c.list) {
            EXPECT_EQ(hoursAsList(c.set), c.list);
        }
        EXPECT_EQ(hoursAsRange(c.set), c.range);
        if (c.range) {
            EXPECT_EQ(gf_hours2bitset(*c.range), c.set);
        }
    }
    EXPECT_EQ(hoursAsList({}), std::nullopt);
}

TEST(HalfHourSet, CountsOverlapsAndKeepsOnlyTheDay) {
    EXPECT_EQ(setOf({0, 5, 47}).size(), 3);
    EXPECT_TRUE(setOf({3, 4}).overlaps(setOf({4, 9})));
    EXPECT_FALSE(setOf({3, 4}).overlaps(setOf({5})));
    EXPECT_EQ(HalfHourSet(~std::uint64_t{0}), HalfHourSet::range(0, 47));
    EXPECT_FALSE(setOf({48, -1}).contains(48));
    EXPECT_TRUE(setOf({48, -1}).empty());
}

}  // namespace
}  // namespace corv::airports
