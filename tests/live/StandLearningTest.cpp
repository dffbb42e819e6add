#include <gtest/gtest.h>

#include "live/StandLearning.hpp"
#include "liveries/AircraftCategory.hpp"
#include "support/LogCapture.hpp"

namespace corv::live {
namespace {

using airports::HalfHourSet;
using airports::OccupancyEntry;
using airports::TimeKey;

constexpr int wednesday = 3;

// One stand and PH-BXA, a KLM B738 flying as KLM123, seen at it.
class StandLearningTest : public ::testing::Test {
  protected:
    ObservedStay stay(StandUse use = StandUse::Arrived, int aircraftClass = liveries::categoryLarge,
                      bool cargo = false) {
        ObservedStay seen{"PH-BXA", "KLM123", {}, aircraftClass, use};
        seen.identity.airline = 7;
        seen.identity.model = 9;
        seen.identity.cargo = cargo;
        return seen;
    }
    OccupancyEntry& entry(HalfHourSet hours, int day = wednesday,
                          std::int32_t origin = airports::learned, bool cpl = false) {
        OccupancyEntry& e = stand.entries.emplace_back();
        e.registration = "PH-BXA";
        e.callsign = "KLM123";
        e.hours = hours;
        e.day = day;
        e.index = static_cast<std::int32_t>(stand.entries.size());
        e.origin = origin;
        e.cpl = cpl;
        return e;
    }
    static HalfHourSet hours(int first, int last) { return HalfHourSet::range(first, last); }

    airports::Stand stand;
};

TEST_F(StandLearningTest, AFirstStayAddsALearnedEntryForTheHalfHour) {
    for (const StandUse use : {StandUse::Arrived, StandUse::Created, StandUse::Left}) {
        stand.entries.clear();
        entry(hours(5, 8), 1, airports::fromAirportFile);  // another weekday: no concern
        ObservedStay seen = stay(use);
        EXPECT_EQ(recordStay(stand, seen, {wednesday, 20}), 1);
        ASSERT_EQ(stand.entries.size(), 2u);
        const OccupancyEntry& added = stand.entries.back();
        EXPECT_EQ(added.hours, hours(20, 20));
        EXPECT_EQ(added.day, wednesday);
        EXPECT_EQ(added.index, 2);
        EXPECT_EQ(added.origin, airports::learned);
        EXPECT_TRUE(added.real);
        EXPECT_EQ(added.callsign, "KLM123");
        EXPECT_TRUE(added.callsign2.empty());
        EXPECT_EQ(added.identity.model, 9);
        EXPECT_EQ(added.cpl, use == StandUse::Left);
    }
}

TEST_F(StandLearningTest, AStayGoesOnWithinItsGapElseANewOneBegins) {
    struct Case {
        int aircraftClass;
        bool cargo;
        int now;  // the entry ends at 20
        bool extended;
    };
    const Case cases[] = {
        {liveries::categoryLarge, false, 25, true},  {liveries::categoryLarge, false, 26, false},
        {liveries::categoryHeavy, false, 27, true},  {liveries::categoryHeavy, false, 28, false},
        {liveries::categoryLarge, true, 31, true},   {liveries::categoryLarge, true, 32, false},
        {liveries::categoryLarge, false, 12, false},  // earlier the same day: another stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "class " << c.aircraftClass << " cargo " << c.cargo << " at " << c.now);
        stand.entries.clear();
        entry(hours(18, 20));
        EXPECT_EQ(recordStay(stand, stay(StandUse::Arrived, c.aircraftClass, c.cargo),
                             {wednesday, c.now}),
                  1);
        if (c.extended) {
            ASSERT_EQ(stand.entries.size(), 1u);
            EXPECT_EQ(stand.entries[0].hours, hours(18, c.now));
        } else {
            ASSERT_EQ(stand.entries.size(), 2u);
            EXPECT_EQ(stand.entries[0].hours, hours(18, 20));
            EXPECT_EQ(stand.entries[1].hours, hours(c.now, c.now));
        }
    }
}

TEST_F(StandLearningTest, LeavingCompletesTheStaySoTheNextOneIsNew) {
    entry(hours(18, 20));
    EXPECT_EQ(recordStay(stand, stay(StandUse::Arrived), {wednesday, 20}), 0);
    EXPECT_EQ(recordStay(stand, stay(StandUse::Left), {wednesday, 21}), 1);
    EXPECT_EQ(stand.entries[0].hours, hours(18, 21));
    EXPECT_TRUE(stand.entries[0].cpl);
    EXPECT_EQ(recordStay(stand, stay(StandUse::Disappeared), {wednesday, 21}), 0);

    EXPECT_EQ(recordStay(stand, stay(StandUse::Arrived), {wednesday, 23}), 1);
    ASSERT_EQ(stand.entries.size(), 2u);
    EXPECT_EQ(stand.entries[1].hours, hours(23, 23));
    EXPECT_FALSE(stand.entries[1].cpl);
    // Back again within the half hour: the stay is known already.
    EXPECT_EQ(recordStay(stand, stay(StandUse::Arrived), {wednesday, 23}), 0);
    EXPECT_EQ(stand.entries.size(), 2u);
}

TEST_F(StandLearningTest, AStayAcrossMidnightFillsBothDays) {
    entry(hours(44, 46), wednesday - 1);
    EXPECT_EQ(recordStay(stand, stay(StandUse::Left), {wednesday, 1}), 2);
    ASSERT_EQ(stand.entries.size(), 2u);
    EXPECT_EQ(stand.entries[0].hours, hours(44, 47));
    EXPECT_EQ(stand.entries[1].day, wednesday);
    EXPECT_EQ(stand.entries[1].hours, hours(0, 1));
    EXPECT_TRUE(stand.entries[1].cpl);
}

TEST_F(StandLearningTest, TheAirportFilesStayDecidesWhetherAnythingIsLearned) {
    struct Case {
        HalfHourSet fileHours;
        std::size_t entries;
    };
    for (const Case& c : {Case{hours(30, 40), 1u}, Case{hours(18, 22), 2u}}) {
        stand.entries.clear();
        entry(c.fileHours, wednesday, airports::fromAirportFile);
        recordStay(stand, stay(), {wednesday, 20});
        EXPECT_EQ(stand.entries.size(), c.entries) << c.fileHours.bits();
    }
}

TEST_F(StandLearningTest, NoHalfHourNoRecord) {
    corv::test::LogCapture log;
    EXPECT_EQ(recordStay(stand, stay(), {wednesday, 48}), 0);
    EXPECT_TRUE(stand.entries.empty());
    EXPECT_TRUE(
        log.contains("lf_addRealStandOption: hh_now: 48, no half hour of the week (day 3)"));
}

}  // namespace
}  // namespace corv::live
