#include "live/LiveTrafficFixture.hpp"

#include "status/ControlIds.hpp"

namespace corv::live {
namespace {

using LiveTrafficTest = test::LiveTrafficFixture;
using test::hexid;
using test::objectId;

TEST_F(LiveTrafficTest, EachTickTakesTwoReportsAndTellsRealTrafficFiveTimesASecond) {
    for (int second = 0; second < 5; ++second)
        feed.pending.push_back(report(second * 10));
    tick();
    EXPECT_EQ(feed.pending.size(), 3u) << "at most two a tick";
    EXPECT_EQ(aircraft()->stream.size(), 2u);
    for (int i = 1; i < 100; ++i)
        tick();
    EXPECT_TRUE(feed.pending.empty());
    EXPECT_EQ(aircraft()->stream.size(), 5u);
    EXPECT_EQ(feed.positionLines, 5);
    EXPECT_EQ(simulator.userStateRequests, 1);
    EXPECT_EQ(runState.liveTickCount, 100);
}

TEST_F(LiveTrafficTest, ABufferedAircraftIsMatchedCreatedAndActivated) {
    traffic.intakeReport(report(0));
    traffic.intakeReport(report(10));
    tickUntil(2999);
    EXPECT_EQ(aircraft()->state, AcState::Buffer) << "nothing is shown before it is due";
    tickUntil(3001);
    EXPECT_EQ(aircraft()->state, AcState::Adding2Sim);
    EXPECT_EQ(aircraft()->liveryTitle, "KLM 738");
    EXPECT_EQ(reference.airlineText(aircraft()->identity.airline), "KLM") << "from the callsign";
    EXPECT_EQ(aircraft()->phase, AcPhase::Flying);

    tickUntil(3051);  // one creation every 50 ticks
    ASSERT_EQ(simulator.queues_.creations.size(), 1u);
    const sim::CreationRequest& request = simulator.queues_.creations.front();
    EXPECT_EQ(request.liveryTitle, "KLM 738");
    EXPECT_EQ(request.tailNumber, "KLM123");
    EXPECT_EQ(request.key, static_cast<sim::AircraftKey>(hexid));
    EXPECT_NEAR(request.position.heading, 90.0, 0.5);
    // Spawned when its first point was due (tick 3000), created where it will be due once its
    // request is handed over (within 50 ticks) and it is activated (200 ticks).
    const auto dueAtActivation =
        report((LiveTraffic::creationIntervalTicks + LiveTraffic::activationTicks) / 100.0);
    EXPECT_LT(common::distanceNm({request.position.latitude, request.position.longitude},
                                 {dueAtActivation.latitude, dueAtActivation.longitude}) *
                  1852.0,
              2.0);
    EXPECT_FALSE(request.position.onGround);

    simulator.notices_.post({.objectId = objectId,
                             .key = static_cast<std::int32_t>(hexid),
                             .kind = sim::SimNoticeKind::LiveSpawned,
                             .second = 5000.0});
    tickUntil(3051 + LiveTraffic::activationTicks - 1);
    EXPECT_EQ(aircraft()->state, AcState::Adding2Sim);
    EXPECT_EQ(eventCount(sim::event::allLightsToggle), 2u);
    tickUntil(3051 + LiveTraffic::activationTicks + 1);
    EXPECT_EQ(aircraft()->state, AcState::Active);
    EXPECT_EQ(eventCount(sim::event::engineAutoStart), 1u);
    traffic.recountLive();
    EXPECT_EQ(display.snapshot().liveCount, 1);
    EXPECT_EQ(run.stepCounts[2], 1) << "counted as an airline-and-type match";
}

TEST_F(LiveTrafficTest, AnAircraftCreatedLateCatchesUpWithItsPointsWithoutJumps) {
    // A slow simulator: the object arrives 250 ticks after the creation request, so the aircraft
    // becomes active behind its points' times and flies a little faster than natural until it
    // is back on them.
    for (int second = 0; second <= 30; second += 10)
        traffic.intakeReport(report(second));
    tickUntil(3051 + 250);
    simulator.notices_.post({.objectId = objectId,
                             .key = static_cast<std::int32_t>(hexid),
                             .kind = sim::SimNoticeKind::LiveSpawned,
                             .second = 5000.0});
    tickUntil(3051 + 250 + LiveTraffic::activationTicks + 1);
    ASSERT_EQ(aircraft()->state, AcState::Active);
    const LiveAircraft& ac = *aircraft();
    const std::int32_t lag = ac.stream.front().dueTick - 4000;
    EXPECT_GT(lag, 100) << "a tenth of the first segment already made up";
    EXPECT_LT(lag, 300);
    for (int second : {40, 50, 60})
        traffic.intakeReport(report(second));
    auto errorAt = [&](std::int32_t due) {
        tickUntil(due);
        const auto truth = report((due - 3000) / 100.0);
        return common::distanceNm({ac.sim.latitude, ac.sim.longitude},
                                  {truth.latitude, truth.longitude}) *
               1852.0;
    };
    const double first = errorAt(5000);
    EXPECT_GT(first, 15.0) << "still behind after one segment";
    EXPECT_LT(first, lag * 1.3 - 50.0) << "but closer than after the first point (1.3 m a tick)";
    for (std::int32_t due : {7000, 8000}) {
        EXPECT_LT(errorAt(due), 15.0) << "back on time at tick " << due;
        EXPECT_NEAR(ac.sim.heading * 180.0 / std::numbers::pi, 90.0, 1.0);
        EXPECT_NEAR(ac.sim.altitude, 5000.0, 1.0);
    }
    double largestStepNm = 0.0;
    common::GeoPoint previous{ac.sim.latitude, ac.sim.longitude};
    for (std::int32_t t = runState.liveTickCount; t < 9000; ++t) {  // into the extrapolation
        tick();
        const common::GeoPoint now{ac.sim.latitude, ac.sim.longitude};
        largestStepNm = std::max(largestStepNm, common::distanceNm(previous, now));
        previous = now;
    }
    EXPECT_LT(largestStepNm * 1852.0, 1.3 * 1.12) << "250 kt is 1.3 m a tick, a tenth more at most";
    EXPECT_FALSE(simulator.queues_.sendBuffer.empty()) << "positions handed to the simulator";
}

TEST_F(LiveTrafficTest, AnAircraftFlyingSlowerThanItsReportedSpeedKeepsToItsPointsTimes) {
    // Reported at 250 kt, it covers the ground of 235 kt: at its natural speed it would arrive
    // at every point 0.6 s early, more with every point.
    const auto slower = [&](double second) {
        auto r = report(second);
        const common::GeoPoint at =
            common::destinationPoint({52.0, 4.0}, std::numbers::pi / 2, 235.0 * second / 3600.0);
        r.latitude = at.latitude;
        r.longitude = at.longitude;
        return r;
    };
    for (int second = 0; second <= 90; second += 10)
        traffic.intakeReport(slower(second));
    tickUntil(3051);
    simulator.notices_.post({.objectId = objectId,
                             .key = static_cast<std::int32_t>(hexid),
                             .kind = sim::SimNoticeKind::LiveSpawned,
                             .second = 5000.0});
    for (std::int32_t due : {10000, 11000, 12000}) {
        tickUntil(due);
        const auto truth = slower((due - 3000) / 100.0);
        EXPECT_LT(common::distanceNm({aircraft()->sim.latitude, aircraft()->sim.longitude},
                                     {truth.latitude, truth.longitude}) *
                      1852.0,
                  15.0)
            << "on time at tick " << due;
    }
}

TEST_F(LiveTrafficTest, AtTheLimitTheFarthestAircraftMakesRoomForANearerOne) {
    // One aircraft allowed; KLM123 flies about 7 nm from the user when another one comes.
    for (const double newcomerNm : {1.0, 20.0}) {
        traffic.resetRunState();
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        settings::MAX_LIVE_SEL.setCurrent(1);
        activeAircraft();
        const common::GeoPoint at = common::destinationPoint(
            {simulator.user.latitude, simulator.user.longitude}, 0.0, newcomerNm);
        for (const int second : {10, 20}) {
            auto other = report(second);
            other.hexid = hexid + 1;
            other.callsign = "KLM456";
            other.latitude = at.latitude;
            other.longitude = at.longitude + second * 0.001;
            traffic.intakeReport(other);
        }
        tickUntil(4002);
        const auto& all = traffic.table().aircraft;
        const auto found = std::find_if(all.begin(), all.end(),
                                        [](const LiveAircraft& a) { return a.hexid == hexid + 1; });
        const LiveAircraft* newcomer = found == all.end() ? nullptr : &*found;
        const bool nearer = newcomerNm < 7.0;
        EXPECT_EQ(aircraft()->state, nearer ? AcState::RemovingFromSim : AcState::Active)
            << "the first aircraft, newcomer at " << newcomerNm << " nm";
        EXPECT_EQ(newcomer != nullptr && newcomer->state == AcState::Adding2Sim, nearer)
            << "the newcomer at " << newcomerNm << " nm";
    }
}

TEST_F(LiveTrafficTest, WhenTheDataStopsItFliesOnEightPointsAndIsRemoved) {
    activeAircraft();
    // The last report (30 s) is due at tick 6000; eight extrapolated points follow, each 8 s of
    // flight at a twentieth less speed than the one before (so reached in a little under 8 s).
    tickUntil(6000 + 7 * 800);
    EXPECT_EQ(aircraft()->state, AcState::Active);
    EXPECT_GT(aircraft()->extensionCount, 0);
    tickUntil(6000 + 8 * 800 + 100);
    EXPECT_EQ(aircraft()->state, AcState::RemovingFromSim);
    EXPECT_EQ(simulator.queues_.removals, std::vector<sim::ObjectId>{objectId});

    simulator.notices_.post({.objectId = objectId, .kind = sim::SimNoticeKind::Removed});
    tick();
    EXPECT_EQ(aircraft(), nullptr);
}

TEST_F(LiveTrafficTest, WithoutALiveryNothingIsCreatedAndTheAircraftIsRemembered) {
    options.depth = 1;
    settings::MATCHING_DEPTH.setCurrent(1);
    auto first = report(0);
    first.registration = "PH-BXB";
    auto second = report(10);
    second.registration = "PH-BXB";
    traffic.intakeReport(first);
    traffic.intakeReport(second);
    tickUntil(3100);
    EXPECT_EQ(aircraft(), nullptr);
    EXPECT_TRUE(simulator.queues_.creations.empty());
    ASSERT_EQ(traffic.table().noLivery.size(), 1u);
    EXPECT_NE(traffic.table().noLivery.begin()->find("PH-BXB"), std::string::npos);
}

TEST_F(LiveTrafficTest, ARefusedLiveryErasesTheAircraftAndIsNotChosenAgain) {
    traffic.intakeReport(report(0));
    traffic.intakeReport(report(10));
    tickUntil(3051);
    simulator.notices_.post(
        {.key = static_cast<std::int32_t>(hexid), .kind = sim::SimNoticeKind::CreateFailed});
    tick();
    EXPECT_EQ(aircraft(), nullptr);
    EXPECT_TRUE(run.failedTitles.contains("KLM 738"));
}

TEST_F(LiveTrafficTest, WhenRealTrafficIsGoneItsAircraftLeaveTheSimulator) {
    activeAircraft();
    // A second aircraft whose creation request still waits for its turn is simply taken back.
    for (const double second : {0.0, 10.0}) {
        auto other = report(second);
        other.hexid = hexid + 1;
        other.callsign = "KLM456";
        traffic.intakeReport(other);
    }
    tickUntil(runState.liveTickCount + 2);
    ASSERT_EQ(traffic.pendingCreations(), 1u);

    traffic.removeAllLive();
    EXPECT_EQ(traffic.pendingCreations(), 0u);
    ASSERT_EQ(traffic.table().aircraft.size(), 1u);
    EXPECT_EQ(aircraft()->state, AcState::RemovingFromSim);
    tickUntil(runState.liveTickCount + 10);
    EXPECT_EQ(simulator.queues_.removals, std::vector<sim::ObjectId>{objectId});
}

TEST_F(LiveTrafficTest, TheCallsignListOffersTheAircraftInTheSimulatorUntilOneIsBlocked) {
    const status::ControlId list = settings::CALLSIGN_2_OBJECTID.controlId;
    traffic.rebuildCallsignList();
    EXPECT_FALSE(controls.enabled.at(list)) << "nothing in the simulator yet";
    EXPECT_FALSE(controls.enabled.at(status::button::block));

    activeAircraft();
    traffic.rebuildCallsignList();
    EXPECT_EQ(controls.lists.at(list), std::vector<std::string>{"KLM123"});
    EXPECT_EQ(settings::CALLSIGN_2_OBJECTID.value(), "KLM123");
    EXPECT_EQ(settings::CALLSIGN_2_OBJECTID.entries().at("KLM123"), objectId);
    EXPECT_TRUE(controls.enabled.at(status::button::block));
    EXPECT_FALSE(controls.enabled.at(status::button::unblock));

    traffic.dropFromCallsignList("KLM123");
    EXPECT_EQ(controls.lists.at(list), std::vector<std::string>{""});
    EXPECT_EQ(settings::CALLSIGN_2_OBJECTID.value(), "");
    EXPECT_FALSE(controls.enabled.at(status::button::block));
}

TEST_F(LiveTrafficTest, AnAircraftOnTheGroundAheadOfAUserLowOnApproachIsRemoved) {
    activeAircraft();
    LiveAircraft& ac = const_cast<LiveAircraft&>(*aircraft());
    ac.onGroundMode = true;
    const common::GeoPoint at{ac.sim.latitude, ac.sim.longitude};
    // The user 0.8 nm west of it, heading east at 300 ft: the aircraft is on the user's path.
    const common::GeoPoint userAt = common::destinationPoint(at, 1.5 * std::numbers::pi, 0.8);
    simulator.user = {.latitude = userAt.latitude,
                      .longitude = userAt.longitude,
                      .heading = std::numbers::pi / 2,
                      .altitudeFeet = 300.0,
                      .altitudeAboveGround = 300.0,
                      .onGround = false};
    for (const double heightFt : {600.0, 300.0}) {
        simulator.user.altitudeAboveGround = heightFt;
        traffic.checkUserAirCollisions();
        EXPECT_EQ(aircraft()->state, heightFt < 500 ? AcState::RemovingFromSim : AcState::Active)
            << heightFt << " ft";
    }
}

TEST_F(LiveTrafficTest, AShortStopOnTheGroundIsDroppedWhenTheAircraftMovesOn) {
    // Taxiing east at 20 kt (10 m a second), reports every 5 s; a report at rest at the position
    // of second 20 comes `stopSeconds` later, then one `restartMetres` beyond it.
    struct Case {
        double stopSeconds;
        double restartMetres;
        bool stopKept;
    };
    for (const Case c : {Case{10, 60, false}, Case{16, 60, true}, Case{16, 15, false}}) {
        traffic.resetRunState();
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        taxiingAircraft();
        auto stop = taxi(20 + c.stopSeconds, 201);
        stop.groundSpeed = 0;
        stop.track = 95.0;  // the feed's track of a standing aircraft wanders
        traffic.intakeReport(stop);
        ASSERT_TRUE(aircraft()->stream.back().stationary);
        traffic.intakeReport(taxi(25 + c.stopSeconds, 201 + c.restartMetres));
        const bool stopKept = std::any_of(aircraft()->stream.begin(), aircraft()->stream.end(),
                                          [](const PositionBlock& p) { return p.stationary; });
        EXPECT_EQ(stopKept, c.stopKept)
            << c.stopSeconds << " s stop, going on " << c.restartMetres << " m";
    }
}

TEST_F(LiveTrafficTest, ATaxiingAircraftWithoutDataHoldsUntilItsTimeIsUpOrItJumps) {
    // Its last report (second 20) is due at tick 5000.
    struct Case {
        double nextReportMetres;  // 0: none
        bool removed;
    };
    for (const Case c : {Case{0, true}, Case{100, false}, Case{300, true}}) {
        traffic.resetRunState();
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        taxiingAircraft();
        tickUntil(5400);
        ASSERT_TRUE(aircraft()->holding);
        if (c.nextReportMetres > 0) {
            auto next = taxi(60, 201 + c.nextReportMetres);
            next.dueTick = runState.liveTickCount + 100;
            traffic.intakeReport(next);
            EXPECT_EQ(aircraft()->state == AcState::RemovingFromSim, c.removed)
                << c.nextReportMetres << " m away";
            continue;
        }
        const std::int32_t holdingTicks = settings::MAX_HOLDING_MINUTES.value() * 6000;
        tickUntil(5000 + holdingTicks - 100);
        EXPECT_EQ(aircraft()->state, AcState::Active) << "still holding";
        tickUntil(5000 + holdingTicks + 1000);
        EXPECT_EQ(aircraft()->state, AcState::RemovingFromSim) << "held too long";
    }
}

}  // namespace
}  // namespace corv::live
