#include <functional>
#include <limits>
#include <map>
#include <vector>

#include "live/LiveTrafficFixture.hpp"

namespace corv::live {
namespace {

using test::hexid;
using test::objectId;

constexpr double pi = std::numbers::pi;
constexpr common::GeoPoint threshold{52.3, 4.75};
constexpr double elevationFeet = 40.0;
constexpr double touchdownSecond = 120.0;

// An arrival from the west at 140 kt, sinking 700 ft/min onto a runway at `threshold`.
class LiveLandingTest : public test::LiveTrafficFixture {
  protected:
    realtraffic::TrafficReport approach(double seconds, double sinkRate = 700.0) {
        realtraffic::TrafficReport r = report(seconds);
        const double toGo = touchdownSecond - seconds;
        const common::GeoPoint at =
            common::destinationPoint(threshold, 1.5 * pi, 140.0 * toGo / 3600.0);
        r.latitude = at.latitude;
        r.longitude = at.longitude;
        r.groundSpeed = 140.0;
        r.trueAirspeed = 140.0;
        r.altitude = std::max(0.0, elevationFeet + sinkRate / 60.0 * toGo);
        r.verticalSpeed = r.altitude > 0.0 ? -sinkRate : 0.0;
        r.airborne = toGo > 0.0;
        if (!r.airborne) r.altitude = 0.0;
        return r;
    }

    // Brings the arrival into the simulator and flies it, answering every request for the
    // aircraft in range as a simulator would: height above the field, on the ground at the
    // field. Calls `watch` after every tick.
    // Feeds the arrival as RealTraffic would, each report 30 s before it is due, and flies it,
    // answering every request for the aircraft in range as a simulator would: height above the
    // field, on the ground at the field. Calls `watch` after every tick.
    template <class Watch>
    void flyArrival(double lastSecond, Watch watch,
                    const std::function<realtraffic::TrafficReport(double)>& feed = {}) {
        const auto reportAt = feed ? feed : [this](double s) { return approach(s); };
        traffic.setParkAirport(realtraffic::ParkAirport{threshold, elevationFeet});
        double nextSecond = 0;
        int answered = 0;
        const std::int32_t end = 3000 + static_cast<std::int32_t>(100 * lastSecond) + 1000;
        while (runState.liveTickCount < end) {
            for (; nextSecond <= lastSecond && nextSecond * 100 <= runState.liveTickCount;
                 nextSecond += 5)
                traffic.intakeReport(reportAt(nextSecond));
            tick();
            if (!simulator.queues_.creations.empty()) {
                simulator.queues_.creations.clear();
                simulator.notices_.post({.objectId = objectId,
                                         .key = static_cast<std::int32_t>(hexid),
                                         .kind = sim::SimNoticeKind::LiveSpawned,
                                         .second = aircraft()->sim.altitude - elevationFeet});
            }
            if (aircraft() == nullptr) return;
            watch(*aircraft());
            if (simulator.nearbyRequests == answered) continue;
            answered = simulator.nearbyRequests;
            const double aboveField = aircraft()->sim.altitude - elevationFeet;
            simulator.notices_.post({.objectId = objectId,
                                     .key = aboveField <= 1.0 ? 1 : 0,
                                     .kind = sim::SimNoticeKind::NearbyAircraft,
                                     .first = elevationFeet,
                                     .second = aboveField});
        }
    }

    std::vector<std::uint32_t> eventData(sim::ClientEventId event) const {
        std::vector<std::uint32_t> data;
        for (const auto& e : simulator.queues_.events)
            if (e.event == event) data.push_back(e.data);
        return data;
    }
};

TEST_F(LiveLandingTest, AnArrivalConfiguresFlaresInStagesAndTouchesDownOnTheField) {
    std::map<int, double> firstTickOfStage;  // stage → vertical speed told
    double lowest = std::numeric_limits<double>::max();
    double mostNoseUp = 0.0;
    int requestsBeforeFlare = 0;
    int requestsInFlare = 0;
    int flareTicks = 0;
    int nearbyBefore = 0;
    bool configured = false;
    flyArrival(touchdownSecond + 20, [&](const LiveAircraft& ac) {
        configured = configured || ac.landing;
        const int requests = simulator.nearbyRequests - nearbyBefore;
        nearbyBefore = simulator.nearbyRequests;
        if (ac.state != AcState::Active) return;
        if (ac.landingStage > 0 && !ac.onGroundMode) {
            if (!firstTickOfStage.contains(ac.landingStage))
                firstTickOfStage[ac.landingStage] = ac.sim.verticalSpeed * 60.0;
            mostNoseUp = std::min(mostNoseUp, ac.sim.pitch);
            requestsInFlare += requests;
            ++flareTicks;
        } else if (!ac.onGroundMode) {
            requestsBeforeFlare += requests;
        }
        if (!ac.onGroundMode) lowest = std::min(lowest, ac.sim.altitude);
    });
    ASSERT_NE(aircraft(), nullptr);
    const LiveAircraft& ac = *aircraft();
    EXPECT_TRUE(configured);
    EXPECT_NE(std::find(eventData(sim::event::flapsSet).begin(),
                        eventData(sim::event::flapsSet).end(), 16383u),
              eventData(sim::event::flapsSet).end())
        << "landing flaps";
    const std::map<int, double> stages{{1, -601.0}, {2, -450.0}, {3, -300.0}, {4, -150.0}};
    for (const auto& [stage, verticalSpeed] : stages) {
        ASSERT_TRUE(firstTickOfStage.contains(stage)) << "stage " << stage;
        EXPECT_NEAR(firstTickOfStage[stage], verticalSpeed, 1.0) << "stage " << stage;
    }
    EXPECT_GE(mostNoseUp, -4.0 * pi / 180.0 - 1e-9) << "never more nose up than 4 degrees";
    EXPECT_GT(lowest, elevationFeet - 0.2) << "never below the field before touchdown";
    EXPECT_GT(requestsInFlare * 100, flareTicks * 4)
        << "the touchdown is watched five times a second";
    EXPECT_TRUE(ac.onGroundMode);
    EXPECT_TRUE(ac.landingRoll);
    EXPECT_FALSE(ac.landing);
    const auto spoilers = eventData(sim::event::spoilersSet);
    EXPECT_NE(std::find(spoilers.begin(), spoilers.end(), 16383u), spoilers.end())
        << "spoilers out at touchdown";
    ASSERT_FALSE(simulator.landingRollWrites.empty());
    EXPECT_EQ(simulator.landingRollWrites.front(), std::make_pair(100.0, 100.0))
        << "spoiler handle and thrust levers at touchdown";
    const int before = simulator.nearbyRequests;
    tickUntil(runState.liveTickCount + 200);
    EXPECT_LE(simulator.nearbyRequests - before, 2) << "back to once a second after touchdown";
}

TEST_F(LiveLandingTest, OnlyNearTheParkAirportDoesAnArrivalConfigureForLanding) {
    // The same arrival with the park airport 20 nautical miles away.
    traffic.setParkAirport(
        realtraffic::ParkAirport{common::destinationPoint(threshold, 0.0, 20.0), elevationFeet});
    for (double second = 0; second <= 60; second += 5)
        traffic.intakeReport(approach(second));
    tickUntil(3051);
    simulator.notices_.post({.objectId = objectId,
                             .key = static_cast<std::int32_t>(hexid),
                             .kind = sim::SimNoticeKind::LiveSpawned,
                             .second = 1000.0});
    tickUntil(8000);
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_FALSE(aircraft()->landing);
    EXPECT_TRUE(eventData(sim::event::gearSet).empty() ||
                eventData(sim::event::gearSet).back() == 0u);
}

TEST_F(LiveLandingTest, ClimbingAwayFromTheApproachIsAGoAround) {
    // Down to 300 ft above the field, then climbing away at 1500 ft/min.
    traffic.setParkAirport(realtraffic::ParkAirport{threshold, elevationFeet});
    for (double second = 0; second <= 60; second += 5)
        traffic.intakeReport(approach(second));
    for (double second = 65; second <= 120; second += 5) {
        auto climb = approach(second);
        climb.altitude = elevationFeet + 300.0 + 25.0 * (second - 60);
        climb.verticalSpeed = 1500.0;
        climb.airborne = true;
        traffic.intakeReport(climb);
    }
    tickUntil(3051);
    simulator.notices_.post({.objectId = objectId,
                             .key = static_cast<std::int32_t>(hexid),
                             .kind = sim::SimNoticeKind::LiveSpawned,
                             .second = approach(0).altitude - elevationFeet});
    bool landed = false;
    while (runState.liveTickCount < 3000 + 9000) {
        tick();
        ASSERT_NE(aircraft(), nullptr);
        landed = landed || aircraft()->landing;
    }
    EXPECT_TRUE(landed) << "it configured for landing first";
    EXPECT_TRUE(aircraft()->goAround);
    EXPECT_FALSE(aircraft()->landing);
    EXPECT_EQ(eventData(sim::event::gearSet).back(), 0u) << "gear up";
    EXPECT_EQ(eventData(sim::event::throttleSet).back(), 16383u) << "full power";
}

TEST_F(LiveLandingTest, WhileLandingAPointThatOvershotGivesWayToTheNextReport) {
    bool checked = false;
    flyArrival(80, [&](const LiveAircraft& ac) {
        if (checked || !ac.landing || ac.stream.size() < 2) return;
        checked = true;
        const PositionBlock newest = ac.stream.back();
        const double newestSecond = newest.timestamp - 1000.0;
        // A report far ahead, then one that lies behind it again: the first was an overshoot.
        auto overshoot = approach(newestSecond + 20);
        auto next = approach(newestSecond + 10);
        overshoot.timestamp = newest.timestamp + 7.0;
        overshoot.dueTick = newest.dueTick + 700;
        next.timestamp = newest.timestamp + 14.0;
        next.dueTick = newest.dueTick + 1400;
        traffic.intakeReport(overshoot);
        ASSERT_NEAR(ac.stream.back().longitude, overshoot.longitude, 1e-9);
        traffic.intakeReport(next);
        EXPECT_NEAR(ac.stream.back().longitude, next.longitude, 1e-9);
        EXPECT_NEAR(ac.stream[ac.stream.size() - 2].longitude, newest.longitude, 1e-9)
            << "the overshoot is gone, the point before it kept";
    });
    EXPECT_TRUE(checked);
}

TEST_F(LiveLandingTest, AirborneAgainOnTheLandingRollIsATouchAndGo) {
    bool rolled = false;
    std::size_t eventsAtTouchdown = 0;
    flyArrival(
        touchdownSecond + 40,
        [&](const LiveAircraft& ac) {
            if (ac.landingRoll && !ac.departing && !rolled) {
                rolled = true;
                eventsAtTouchdown = simulator.queues_.events.size();
            }
        },
        [this](double second) {
            auto r = approach(second);
            if (second >= touchdownSecond + 15) {  // lifting off again
                r.airborne = true;
                r.altitude = elevationFeet + 50.0 * (second - touchdownSecond - 10);
                r.verticalSpeed = 1500.0;
            }
            return r;
        });
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_TRUE(rolled);
    EXPECT_TRUE(aircraft()->departing);
    EXPECT_FALSE(aircraft()->landing);
    const auto sentSinceTouchdown = [&](sim::ClientEventId event, std::uint32_t data) {
        const auto& events = simulator.queues_.events;
        return std::any_of(events.begin() + static_cast<long>(eventsAtTouchdown), events.end(),
                           [&](const auto& e) { return e.event == event && e.data == data; });
    };
    EXPECT_TRUE(sentSinceTouchdown(sim::event::throttleSet, 11468u)) << "take-off power";
    EXPECT_TRUE(sentSinceTouchdown(sim::event::flapsSet, 3072u)) << "take-off flaps";
}

TEST_F(LiveLandingTest, LowOverTheGroundAClimbIsAtLeastADeparturesAndADescentStaysADescent) {
    // Reports every 10 s at 500 ft above the ground, no park airport: feet per tick flown.
    struct Case {
        double feetPerMinute;
        double feetPerTick;
    };
    for (const Case c : {Case{300, 0.2}, Case{6000, 0.6}, Case{-700, -700.0 / 6000.0}}) {
        traffic.resetRunState();
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        for (int second = 0; second <= 60; second += 10)
            traffic.intakeReport(report(second, 500.0 + c.feetPerMinute / 60.0 * second));
        tickUntil(3051);
        ASSERT_EQ(simulator.queues_.creations.size(), 1u);
        simulator.notices_.post({.objectId = objectId,
                                 .key = static_cast<std::int32_t>(hexid),
                                 .kind = sim::SimNoticeKind::LiveSpawned,
                                 .second = 500.0});
        tickUntil(5500);  // well inside a segment, the catching up done
        const double before = aircraft()->sim.altitude;
        tick();
        EXPECT_NEAR(aircraft()->sim.altitude - before, c.feetPerTick, 0.01)
            << c.feetPerMinute << " ft/min";
    }
}

}  // namespace
}  // namespace corv::live
