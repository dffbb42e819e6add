#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "AirportFilesFixture.hpp"
#include "airports/StaticCalculation.hpp"
#include "airports/StaticSearch.hpp"
#include "airports/WantedCount.hpp"
#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"

namespace corv::airports::test {
namespace {

using settings::MAX_FIT;
using settings::PARK_SOFT;
using settings::RANDOM;
using settings::WEEK;

constexpr TimeKey wednesdayNoon{3, 24};

OccupancyEntry entry(const std::string& callsign, int day, HalfHourSet hours, bool real = true,
                     const std::string& registration = "") {
    OccupancyEntry e;
    e.callsign = callsign;
    e.registration = registration;
    e.day = day;
    e.hours = hours;
    e.real = real;
    e.index = 1;
    return e;
}

// Stands 100 m apart in a row, far enough apart not to overlap.
class StaticSearchTest : public ::testing::Test {
  protected:
    StaticSearchTest() {
        corv::test::resetParameters();
        WEEK.setCurrent(false);
        PARK_SOFT.setCurrent(false);
        RANDOM.setCurrent(false);
        MAX_FIT.setCurrent(0);
    }

    Stand& addStand(std::vector<OccupancyEntry> entries) {
        Stand& stand = stands.emplace_back();
        stand.number = static_cast<std::int32_t>(stands.size());
        stand.id = "S" + std::to_string(stand.number);
        stand.latitude = 52.3 + 0.001 * stand.number;
        stand.longitude = 4.76;
        stand.radius = 20.0 / 1852.0;
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i].index = static_cast<std::int32_t>(i + 1);
        stand.entries = std::move(entries);
        return stand;
    }

    std::vector<StaticAircraft> search(TimeKey key, int wanted) {
        std::vector<StaticAircraft> candidates;
        StaticSearch(stands, inputs()).searchStages(key, wanted, 0, candidates, fits);
        return candidates;
    }

    StaticSearchInputs inputs() {
        return {liveCallsigns, statics, liveParked, identities,
                [this](std::size_t count) { return std::min(pick, count - 1); }};
    }

    static std::vector<std::string> callsigns(const std::vector<StaticAircraft>& list) {
        std::vector<std::string> names;
        for (const StaticAircraft& c : list)
            names.push_back(c.callsign);
        std::ranges::sort(names);
        return names;
    }

    std::vector<Stand> stands;
    std::unordered_set<std::string> liveCallsigns;
    std::vector<PlacedStatic> statics;
    std::vector<std::string> liveParked;
    FakeIdentities identities;
    SearchFits fits;
    std::size_t pick = 0;
};

TEST(WantedStaticCount, ShareOfTheStandsRoundedHalfAwayFromZero) {
    struct Case {
        std::size_t stands;
        int percentage, maxParkSel, wanted;
    };
    for (const Case c : {Case{10, 100, 0, 0}, Case{1, 0, 500, 1}, Case{3, 40, 500, 1},
                         Case{3, 50, 500, 2}, Case{10, 25, 500, 3}, Case{0, 100, 500, 1},
                         Case{400, 30, 100, 100}, Case{400, 0, 100, 0}}) {
        EXPECT_EQ(wantedStaticCount(c.stands, c.percentage, c.maxParkSel), c.wanted)
            << c.stands << " stands, " << c.percentage << "%, max " << c.maxParkSel;
    }
}

TEST_F(StaticSearchTest, EachStageUsesOnlyTheEntriesItsSettingsAllow) {
    const HalfHourSet noon = HalfHourSet::range(20, 30);
    addStand({entry("TODAY", 3, noon)});
    addStand({entry("MONDAY", 1, noon)});
    addStand({entry("SOFT", 3, noon, false)});
    addStand({entry("SOFTMON", 1, noon, false)});
    struct Case {
        bool week, soft;
        std::vector<std::string> found;
    };
    for (const Case& c : {Case{false, false, {"TODAY"}}, Case{true, false, {"MONDAY", "TODAY"}},
                          Case{false, true, {"SOFT", "TODAY"}},
                          Case{true, true, {"MONDAY", "SOFT", "SOFTMON", "TODAY"}}}) {
        WEEK.setCurrent(c.week);
        PARK_SOFT.setCurrent(c.soft);
        resetStandMarks(stands, "", "");
        EXPECT_EQ(callsigns(search(wednesdayNoon, 4)), c.found)
            << "week " << c.week << ", soft " << c.soft;
    }
}

TEST_F(StaticSearchTest, SundayEveningCountsAtMondayMidnightOnlyWithEnoughFit) {
    addStand({entry("LATE", 7, HalfHourSet::range(47, 47))});
    const TimeKey mondayQuarterPast{1, 0};
    EXPECT_TRUE(search(mondayQuarterPast, 1).empty());

    MAX_FIT.setCurrent(2);
    resetStandMarks(stands, "", "");
    const std::vector<StaticAircraft> found = search(mondayQuarterPast, 1);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].fit, 1);
    EXPECT_EQ(fits.real, 1);
}

TEST_F(StaticSearchTest, RandomChoiceKeepsTheAircraftAlreadyStandingThere) {
    const HalfHourSet noon = HalfHourSet::range(20, 30);
    addStand({entry("FIRST", 3, noon), entry("SECOND", 3, noon)});
    EXPECT_EQ(callsigns(search(wednesdayNoon, 1)), std::vector<std::string>{"FIRST"});

    RANDOM.setCurrent(true);
    pick = 1;
    resetStandMarks(stands, "", "");
    EXPECT_EQ(callsigns(search(wednesdayNoon, 1)), std::vector<std::string>{"SECOND"});

    // The static aircraft of the second entry stands there: it is found again, whatever chance
    // says; at another stand it would be refused as placed already.
    pick = 0;
    statics.push_back(
        {"SECOND*", "SECOND", "", {}, 1, stands[0].latitude, stands[0].longitude, true});
    resetStandMarks(stands, "", "");
    EXPECT_EQ(callsigns(search(wednesdayNoon, 1)), std::vector<std::string>{"SECOND"});
    statics.back().stand = 2;
    resetStandMarks(stands, "", "");
    EXPECT_EQ(callsigns(search(wednesdayNoon, 1)), std::vector<std::string>{"FIRST"});
}

TEST_F(StaticSearchTest, AnAircraftIsNeverPlacedTwiceNorWhileItFlies) {
    const HalfHourSet noon = HalfHourSet::range(20, 30);
    addStand({entry("KLM1", 3, noon, true, "PH-BXA")});
    addStand({entry("KLM2", 3, noon, true, "PH-BXA")});
    addStand({entry("KLM3", 3, noon)});
    addStand({entry("KLM4", 3, noon)});
    addStand({entry("KLM5", 3, noon)});
    liveCallsigns = {"KLM3_"};
    statics.push_back({"KLM4*", "KLM4", "", {}, 9, 0.0, 0.0, true});
    liveParked = {"KLM5"};

    EXPECT_EQ(callsigns(search(wednesdayNoon, 5)), std::vector<std::string>{"KLM1"});
    // Refused entries stay out of later searches until renumbered.
    EXPECT_EQ(stands[1].entries[0].index, 0);
    EXPECT_EQ(stands[2].entries[0].index, 0);
}

TEST_F(StaticSearchTest, ATakenStandBlocksItsNeighboursAndAReservedOneIsSkipped) {
    const HalfHourSet noon = HalfHourSet::range(20, 30);
    addStand({entry("A", 3, noon)}).neighbours = {2};
    addStand({entry("B", 3, noon)}).neighbours = {1};
    addStand({entry("C", 3, noon)});
    resetStandMarks(stands, "S3", "");
    EXPECT_EQ(callsigns(search(wednesdayNoon, 3)), std::vector<std::string>{"A"});
    EXPECT_TRUE(stands[1].blocked);
}

TEST_F(StaticSearchTest, CalculationKeepsTheWantedShareBestFittingLast) {
    MAX_FIT.setCurrent(10);
    settings::MAX_PARK_SEL.setCurrent(500);
    settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(50);
    addStand({entry("NOW", 3, HalfHourSet::range(24, 24))});
    addStand({entry("EARLIER", 3, HalfHourSet::range(20, 21))});
    addStand({entry("BEFORE", 3, HalfHourSet::range(22, 22))});
    addStand({entry("OTHER", 2, HalfHourSet::range(24, 24))});
    resetStandMarks(stands, "", "");
    const std::vector<StaticAircraft> placed =
        calculateStaticParking(stands, wednesdayNoon, inputs(), fits);
    ASSERT_EQ(placed.size(), 2U);
    EXPECT_EQ(placed[0].callsign, "BEFORE");
    EXPECT_EQ(placed[0].fit, 2);
    EXPECT_EQ(placed[1].callsign, "NOW");
}

}  // namespace
}  // namespace corv::airports::test
