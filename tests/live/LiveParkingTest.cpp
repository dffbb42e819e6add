#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "live/LiveParkingFixture.hpp"
#include "settings/ParameterTable.hpp"
#include "support/LogCapture.hpp"

namespace corv::live {
namespace {

using test::metresBetween;
using test::origin;

constexpr double pi = std::numbers::pi;

class LiveParkingTest : public test::LiveParkingFixture {};

TEST_F(LiveParkingTest, AnAircraftStandingAtAGateIsCreatedOnItAndTheStaticOneMakesWay) {
    bool claimed = false;
    fly(standing(), 3000 + 4000,
        [&](const LiveAircraft&) { claimed = claimed || airport.stands[0].liveClaimed; });
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_EQ(aircraft()->phase, AcPhase::Parked);
    EXPECT_EQ(aircraft()->standId, "G1");
    EXPECT_LT(metresBetween(simAt(), gate1()), 0.5);
    EXPECT_NEAR(aircraft()->sim.heading, 0.0, 1e-6);
    EXPECT_TRUE(claimed);
    EXPECT_EQ(statics.clearedStands, std::vector<std::string>{"G1"});
}

TEST_F(LiveParkingTest, TheUsersReservedStandIsNeverGiven) {
    airport.reservedStandId = "G1";
    fly(standing(), 3000 + 4000, [](const LiveAircraft&) {});
    // Standing off any stand it gives: not created until it moves.
    EXPECT_TRUE(aircraft() == nullptr || aircraft()->state == AcState::Buffer);
    EXPECT_TRUE(statics.clearedStands.empty());
}

TEST_F(LiveParkingTest, LeavingTheGateByTheSideTheFirstReportLiesOn) {
    struct Case {
        double north;  // metres of the first report that leaves the gate
        AcPhase leaving;
    };
    for (const Case c : {Case{150.0, AcPhase::Taxi}, Case{-150.0, AcPhase::PushingBack}}) {
        SCOPED_TRACE(c.north);
        std::vector<realtraffic::TrafficReport> reports = standing();
        reports.push_back(at(70, 0, c.north, 10, c.north > 0 ? 0 : 180));
        reports.push_back(at(80, 0, c.north * 1.5, 10, c.north > 0 ? 0 : 180));
        std::vector<AcPhase> phases;
        fly(reports, 3000 + 7800, [&](const LiveAircraft& ac) {
            if (phases.empty() || phases.back() != ac.phase) phases.push_back(ac.phase);
        });
        ASSERT_NE(aircraft(), nullptr);
        EXPECT_NE(std::find(phases.begin(), phases.end(), c.leaving), phases.end());
        EXPECT_FALSE(airport.stands[0].liveClaimed);
        traffic.resetRunState();
        runState.liveTickCount = 0;
        airport.stands[0].liveClaimed = false;
    }
}

TEST_F(LiveParkingTest, AReportFarFromTheGateMeansItLeftUnseen) {
    std::vector<realtraffic::TrafficReport> reports = standing();
    reports.push_back(at(70, 0, -300, 10, 180));
    fly(reports, 3000 + 7800, [](const LiveAircraft&) {});
    EXPECT_TRUE(aircraft() == nullptr || aircraft()->state == AcState::RemovingFromSim);
    EXPECT_FALSE(airport.stands[0].liveClaimed);
}

TEST_F(LiveParkingTest, APushbackGoesStraightBackTwoAndAHalfStandsThenTurns) {
    // Pushed back, then taxiing off west: the nose swings to the west side, unless pushbacks
    // are to be straight only.
    for (const bool straightOnly : {false, true}) {
        SCOPED_TRACE(straightOnly ? "straight only" : "turning");
        traffic.resetRunState();
        airport.stands[0].liveClaimed = false;
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        settings::STRAIGHT_PBS_ONLY.setCurrent(straightOnly);
        std::vector<realtraffic::TrafficReport> reports = standing();
        reports.push_back(at(70, 0, -130, 3, 270));
        reports.push_back(at(100, -150, -140, 15, 270));
        double mostBehind = 0.0;
        double straightLegDeviation = 0.0;
        bool pushedBack = false;
        double headingPushedBack = 0.0;
        fly(reports, 3000 + 12000, [&](const LiveAircraft& ac) {
            if (ac.phase == AcPhase::PushedBack && !pushedBack) headingPushedBack = ac.sim.heading;
            const double behind = -metresBetween(gate1(), {ac.sim.latitude, gate1().longitude}) *
                                  (ac.sim.latitude < gate1().latitude ? 1 : -1);
            if (ac.phase == AcPhase::PushingBack && !ac.curve)
                straightLegDeviation = std::max(
                    straightLegDeviation,
                    std::fabs(ac.sim.heading > pi ? ac.sim.heading - 2 * pi : ac.sim.heading));
            mostBehind = std::min(mostBehind, behind);
            pushedBack = pushedBack || ac.phase == AcPhase::PushedBack;
        });
        EXPECT_TRUE(pushedBack);
        EXPECT_LT(straightLegDeviation, 1e-6);  // straight back, nose still north
        EXPECT_LT(mostBehind, -2.5 * 24.0 * 0.9);
        EXPECT_NEAR(std::remainder(headingPushedBack, 2 * pi), straightOnly ? 0.0 : -0.5 * pi,
                    20.0 * pi / 180.0);
    }
}

TEST_F(LiveParkingTest, APushbackBeginsWhenTheRealOneDid) {
    // Its reports reach the program 30 s before they are due, and the aircraft should leave with
    // the real one, 30 s late as all traffic, not with the reports' arrival. Pushed back at
    // 1.5 m/s, reported every 2 s; or seen again only 20 s after it set off, 30 m out.
    struct Case {
        const char* reporting;
        int setOff, firstReported;  // seconds
        double earliest, latest;    // seconds the pushback may begin
    };
    for (const Case c : {Case{"every 2 s", 68, 70, 68, 78}, Case{"after a gap", 74, 94, 70, 84}}) {
        SCOPED_TRACE(c.reporting);
        traffic.resetRunState();
        airport.stands[0].liveClaimed = false;
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        std::vector<realtraffic::TrafficReport> reports = standing();
        for (int second = c.firstReported; second <= 110; second += 2)
            reports.push_back(at(second, 5, -6 - 1.5 * (second - c.setOff), 3, 180));
        std::int32_t pushStart = 0;
        fly(reports, 3000 + 11500, [&](const LiveAircraft& ac) {
            if (pushStart == 0 && ac.phase == AcPhase::PushingBack)
                pushStart = runState.liveTickCount;
        });
        ASSERT_NE(pushStart, 0);
        EXPECT_GE(pushStart, 3000 + c.earliest * 100);
        EXPECT_LE(pushStart, 3000 + c.latest * 100);
    }
}

TEST_F(LiveParkingTest, ATaxiingAircraftStoppingAtAGatePullsIntoItNoseFirst) {
    struct Case {
        const char* approach;
        double east, north;  // where it stops, metres from the origin
        double track;        // degrees, the way it comes
    };
    for (const Case c : {Case{"from behind", 62, -15, 0}, Case{"beside the line", 72, -14, 0},
                         Case{"across the line", 50, -14, 90}, Case{"just beside it", 69, -2, 0}}) {
        SCOPED_TRACE(c.approach);
        traffic.resetRunState();
        for (airports::Stand& stand : airport.stands)
            stand.liveClaimed = false;
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        corv::test::LogCapture log;
        const double radians = c.track * pi / 180.0;
        std::vector<realtraffic::TrafficReport> reports;
        for (double second = 0; second <= 40; second += 5) {
            const double back = 4.5 * (40 - second);
            reports.push_back(at(second, c.east - back * std::sin(radians),
                                 c.north - back * std::cos(radians), 9, c.track));
        }
        for (double second = 45; second <= 120; second += 10)
            reports.push_back(at(second, c.east, c.north, 0, c.track));
        double worstSlide = 0.0;
        double fastestSwing = 0.0;  // degrees per second
        common::GeoPoint previous{};
        double previousHeading = 0.0;
        fly(reports, 3000 + 14000, [&](const LiveAircraft& ac) {
            const common::GeoPoint now{ac.sim.latitude, ac.sim.longitude};
            if (ac.phase == AcPhase::Parking) {
                if (metresBetween(previous, now) > 0.015) {  // 3 kt
                    const double moving = common::initialBearing(previous, now);
                    worstSlide = std::max(
                        worstSlide, std::fabs(std::remainder(ac.sim.heading - moving, 2 * pi)));
                }
                fastestSwing =
                    std::max(fastestSwing,
                             std::fabs(std::remainder(ac.sim.heading - previousHeading, 2 * pi)) *
                                 100.0 * 180.0 / pi);
            }
            previous = now;
            previousHeading = ac.sim.heading;
        });
        ASSERT_NE(aircraft(), nullptr);
        EXPECT_EQ(aircraft()->phase, AcPhase::Parked);
        EXPECT_EQ(aircraft()->standId, "G2");
        EXPECT_LT(metresBetween(simAt(), {airport.stands[1].latitude, airport.stands[1].longitude}),
                  2.0);
        EXPECT_NEAR(std::remainder(aircraft()->sim.heading, 2 * pi), 0.0, 3.0 * pi / 180.0)
            << "nose on the stand's heading";
        EXPECT_LT(worstSlide * 180.0 / pi, 10.0) << "driven on, not pushed sideways";
        EXPECT_LT(fastestSwing, 20.0) << "the nose swings no faster than a taxiing aircraft's";
        EXPECT_TRUE(log.contains("G2      : KLM123   arrived at stand"));
    }
}

TEST_F(LiveParkingTest, AHeavyMovingAgainWithinTheHourOfItsLastReportWasTowed) {
    // Landed, taxied onto G1 and parked; its reports stop. Forty minutes later it shows up
    // 185 m away: a heavy one was towed (within the hour), a large one not (25 minutes).
    build({livery("KLM 744", "KLM", "B744"), livery("KLM 738", "KLM", "B738")});
    airport.stands[0].radius = 40.0 / 1852.0;  // room for a jumbo
    for (const char* model : {"B744", "B738"}) {
        SCOPED_TRACE(model);
        traffic.resetRunState();
        airport.stands[0].liveClaimed = false;
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        std::vector<realtraffic::TrafficReport> reports;
        for (double second = 0; second <= 40; second += 5)
            reports.push_back(at(second, 2, -192 + second * 4.5, 9, 0));
        for (double second = 45; second <= 80; second += 10)
            reports.push_back(at(second, 2, -12, 0, 0));
        for (auto& r : reports)
            r.identity.model = reference.internModel(model);
        bool landed = false;
        fly(reports, 3000 + 12000, [&](const LiveAircraft& ac) {
            if (landed) return;
            landed = true;  // as if it had come off the runway
            const_cast<LiveAircraft&>(ac).landed = true;
        });
        ASSERT_NE(aircraft(), nullptr);
        ASSERT_EQ(aircraft()->phase, AcPhase::Parked);
        ASSERT_GT(aircraft()->extensionCount, 0) << "its reports stopped";

        runState.liveTickCount += 40 * 60 * 100;
        auto back = at(80 + 40 * 60, 2, -185, 5, 180);
        back.identity.model = reference.internModel(model);
        back.dueTick = runState.liveTickCount + 3000;
        traffic.intakeReport(back);
        tick();
        ASSERT_NE(aircraft(), nullptr);
        EXPECT_EQ(aircraft()->towed, std::string_view(model) == "B744");
        EXPECT_FALSE(aircraft()->landed);
    }
}

TEST_F(LiveParkingTest, BeyondTheParkLimitTheLongestIdleParkedAircraftLeaves) {
    addGates(11);
    settings::MAX_PARK_SEL.setCurrent(10);
    settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(100);
    for (const bool initialLoadOnly : {false, true}) {
        SCOPED_TRACE(initialLoadOnly);
        settings::INITIAL_LOAD_ONLY.setCurrent(initialLoadOnly);
        corv::test::LogCapture log;
        std::vector<realtraffic::TrafficReport> reports;
        for (int n = 0; n < 11; ++n) {
            const auto more = standingAtGate(n, 5000 + n, "KLM" + std::to_string(n), 10.0 * n);
            reports.insert(reports.end(), more.begin(), more.end());
        }
        runAll(reports, 3000 + 10000 + 400);
        std::vector<std::string> parked;
        for (const LiveAircraft& ac : traffic.table().aircraft) {
            if (ac.state == AcState::Active && ac.phase == AcPhase::Parked)
                parked.push_back(ac.callsign);
        }
        ASSERT_NE(named("KLM10"), nullptr);
        EXPECT_EQ(named("KLM10")->state, AcState::Active);
        if (initialLoadOnly) {
            EXPECT_EQ(parked.size(), 11u);
        } else {
            EXPECT_EQ(parked.size(), 10u);
            EXPECT_EQ(named("KLM0")->state, AcState::RemovingFromSim);
            EXPECT_FALSE(airport.stands[0].liveClaimed);
            EXPECT_TRUE(log.contains("G1      : KLM0 live max park exceeded, removed"));
        }
        traffic.resetRunState();
        runState.liveTickCount = 0;
        for (airports::Stand& stand : airport.stands)
            stand.liveClaimed = false;
    }
}

TEST_F(LiveParkingTest, TheStaticAircraftShownLongestLeaveBeyondTheParkLimit) {
    settings::MAX_PARK_SEL.setCurrent(10);
    settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(100);  // two gates: the limit is 2
    for (const auto& [name, since] : {std::pair{"DLH2*", 110}, std::pair{"DLH1*", 100}}) {
        parking::StaticView& shown = statics.aircraft.emplace_back();
        shown.key = since;
        shown.name = name;
        shown.standNumber = 2;
        shown.occupiedSince = since;
        shown.active = true;
    }
    corv::test::LogCapture log;
    fly(standing(), 3000 + 4000, [](const LiveAircraft&) {});
    EXPECT_EQ(statics.removed, std::vector<std::string>{"DLH1*"});
    EXPECT_TRUE(log.contains("G2      : DLH1* static max park exceeded, removed"));
}

TEST_F(LiveParkingTest, AStayAtAGateIsLearnedUntilItLeaves) {
    knowRegistration();
    std::vector<realtraffic::TrafficReport> reports = standing();
    reports.push_back(at(70, 0, -300, 10, 180));
    for (realtraffic::TrafficReport& r : reports)
        r.registration = "PH-BXA";
    std::vector<airports::OccupancyEntry> whileParked;
    fly(reports, 3000 + 7800, [&](const LiveAircraft&) {
        if (whileParked.empty()) whileParked = airport.stands[0].entries;
    });
    ASSERT_EQ(whileParked.size(), 1u);
    EXPECT_EQ(whileParked[0].registration, "PH-BXA");
    EXPECT_EQ(whileParked[0].day, 3);
    EXPECT_EQ(whileParked[0].hours, airports::HalfHourSet::range(20, 20));
    EXPECT_FALSE(whileParked[0].cpl);
    ASSERT_EQ(airport.stands[0].entries.size(), 1u);
    EXPECT_TRUE(airport.stands[0].entries[0].cpl) << "recorded as left";
    EXPECT_EQ(airport.updateCount, 2);
}

TEST_F(LiveParkingTest, AGhostOnTheStandGivesWayToTheAircraftItShadows) {
    corv::test::LogCapture log;
    // Its reports still come when it goes: only its removal frees the stand.
    std::vector<realtraffic::TrafficReport> reports = standingAtGate(1, 6001, "KLM123_", 0, 200);
    // Once the ghost stands there, the aircraft itself taxis in and stops at the ghost's gate.
    for (double second = 40; second <= 80; second += 5)
        reports.push_back(at(second, 60, -200 + (second - 40) * 4.5, 9, 0));
    for (double second = 85; second <= 160; second += 10)
        reports.push_back(at(second, 62, -15, 0, 0));
    runAll(reports, 3000 + 18000);
    ASSERT_NE(named("KLM123"), nullptr);
    EXPECT_EQ(named("KLM123")->phase, AcPhase::Parked);
    EXPECT_EQ(named("KLM123")->standId, "G2");
    EXPECT_TRUE(
        log.contains("G2      : KLM123_  is a ghost and will be removed, continue with "
                     "KLM123"));
}

TEST_F(LiveParkingTest, AGhostNeverTakesTheStandOfTheAircraftItShadows) {
    std::vector<realtraffic::TrafficReport> reports = standing();
    // The ghost turns up once the aircraft stands at the gate.
    const auto ghost = standingAtGate(0, 6001, "KLM123_", 40);
    reports.insert(reports.end(), ghost.begin(), ghost.end());
    runAll(reports, 3000 + 8000);
    ASSERT_NE(named("KLM123"), nullptr);
    EXPECT_EQ(named("KLM123")->state, AcState::Active);
    EXPECT_EQ(named("KLM123")->standId, "G1");
    EXPECT_EQ(named("KLM123_"), nullptr);
}

TEST_F(LiveParkingTest, WhateverRemovesAParkedAircraftFreesItsStand) {
    const std::vector<std::pair<const char*, std::function<void()>>> removals = {
        {"by the static parking", [&] { traffic.removeLive("KLM123"); }},
        {"blocked by the user", [&] { traffic.removeBlockedCallsign("KLM123"); }},
        {"farthest from the user", [&] { traffic.removeFarthestLive(1); }},
    };
    for (const auto& [what, remove] : removals) {
        SCOPED_TRACE(what);
        fly(standing(), 3000 + 1000, [](const LiveAircraft&) {});
        ASSERT_EQ(aircraft()->phase, AcPhase::Parked);
        airport.stands[0].liveClaimed = true;  // as long as it stands there
        remove();
        EXPECT_EQ(aircraft()->state, AcState::RemovingFromSim);
        EXPECT_FALSE(airport.stands[0].liveClaimed);
        traffic.resetRunState();
        runState.liveTickCount = 0;
    }
}

}  // namespace
}  // namespace corv::live
