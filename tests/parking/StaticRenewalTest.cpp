#include "StaticParkingFixture.hpp"
#include "support/LogCapture.hpp"

namespace corv::parking::test {
namespace {

using airports::HalfHourSet;

class StaticRenewalTest : public StaticParkingFixture {
  protected:
    void calculateAndSpawn(airports::TimeKey key) {
        statics.calculate(key, {}, "", "");
        placeAll();
        spawnAll();
    }
    // The object ids the renewal sent out of the simulator.
    std::size_t removalCount() {
        std::size_t count = 0;
        while (statics.nextRemoval())
            ++count;
        return count;
    }
};

TEST_F(StaticRenewalTest, AStaticWhoseFlightIsLiveNowIsRemoved) {
    addStand(0, {entry("KLM1", "", HalfHourSet::range(20, 30))});
    addStand(100, {entry("KLM2", "", HalfHourSet::range(20, 30))});
    calculateAndSpawn(wednesdayNoon);
    ASSERT_EQ(statics.activeCount(), 2);

    statics.renew(wednesdayNoon, {"KLM1"}, "", "");
    EXPECT_EQ(removalCount(), 1U);
    EXPECT_EQ(statics.candidateCount(), 0U);  // KLM2 stays as it is
}

TEST_F(StaticRenewalTest, AnAircraftAboutToLeaveChangesToItsDepartureCallsign) {
    addStand(0, {entry("KLM123", "KLM124", HalfHourSet::range(20, 24))});
    calculateAndSpawn({3, 23});
    ASSERT_EQ(names(), std::vector<std::string>{"KLM123*"});

    statics.renew(wednesdayNoon, {}, "", "");
    EXPECT_EQ(removalCount(), 1U);
    placeAll();
    ASSERT_EQ(queues.creations.size(), 1U);
    EXPECT_EQ(queues.creations.front().tailNumber, "KLM124*");
}

TEST_F(StaticRenewalTest, LiveAircraftParkedTooLongLeave) {
    addStand(0, {});
    addStand(100, {});
    addStand(200, {});
    struct Case {
        bool initialLoadOnly;
        std::vector<std::string> removed;
    };
    for (const Case& c : {Case{false, {"DAL1"}}, Case{true, {}}}) {
        settings::INITIAL_LOAD_ONLY.setCurrent(c.initialLoadOnly);
        live.removed.clear();
        live.parked = {{"DAL1", "S1", true, false, 91, false},
                       {"DAL2", "S2", true, false, 91, true},
                       {"DAL3", "S3", true, false, 89, false}};
        statics.renew(wednesdayNoon, {}, "", "");
        EXPECT_EQ(live.removed, c.removed) << "initial load only " << c.initialLoadOnly;
    }
}

TEST_F(StaticRenewalTest, MoreLiveParkedThanWantedAreReportedAndTheLongestParkedLeave) {
    for (int i = 0; i < 20; ++i)
        addStand(100.0 * i, {});
    settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(50);  // wanted 10
    for (int i = 0; i < 12; ++i)
        live.parked.push_back(
            {"LIVE" + std::to_string(i), "S" + std::to_string(i + 1), true, false, i, false});
    corv::test::LogCapture log;
    statics.renew(wednesdayNoon, {}, "", "");
    EXPECT_EQ(live.removed, (std::vector<std::string>{"LIVE11", "LIVE10"}));
    EXPECT_TRUE(log.contains("Parking adjustments: 2 more live ac than wanted"));
}

TEST_F(StaticRenewalTest, TheNextAircraftOfAStandReplacesTheOneWhoseStayEnded) {
    addStand(0, {entry("KLM9", "", HalfHourSet::range(20, 22), "B77W"),
                 entry("KLM1", "", HalfHourSet::range(23, 30))});
    calculateAndSpawn({3, 22});
    ASSERT_EQ(names(), std::vector<std::string>{"KLM9*"});

    statics.renew(wednesdayNoon, {}, "", "");
    EXPECT_EQ(removalCount(), 1U);
    placeAll();
    ASSERT_EQ(queues.creations.size(), 1U);
    EXPECT_EQ(queues.creations.front().tailNumber, "KLM1*");
}

}  // namespace
}  // namespace corv::parking::test
