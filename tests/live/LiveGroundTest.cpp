#include <algorithm>
#include <cmath>
#include <vector>

#include "live/LiveTrafficFixture.hpp"
#include "liveries/AircraftCategory.hpp"

namespace corv::live {
namespace {

using test::hexid;
using test::metresBetween;
using test::objectId;
using test::origin;

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180.0;
class LiveGroundTest : public test::LiveTrafficFixture {};

// How an aircraft taxiing east turns north: the corner it comes nearest to, the nose's swing.
struct TaxiTurn {
    double nearestToCorner = 1e9;
    double largestTurnPerTick = 0.0;
    double worstSlide = 0.0;  // the nose off the way it moves
    int slidingTicks = 0;     // the nose more than 10 degrees off
};

class LiveGroundTurnTest : public test::LiveTrafficFixture {
  protected:
    TaxiTurn flyTurn(const std::vector<realtraffic::TrafficReport>& reports,
                     common::GeoPoint corner, int seconds = 70) {
        TaxiTurn turn;
        common::GeoPoint previous{};
        double previousHeading = -1.0;
        fly(reports, 3000 + seconds * 100, [&](const LiveAircraft& ac) {
            const common::GeoPoint now{ac.sim.latitude, ac.sim.longitude};
            turn.nearestToCorner = std::min(turn.nearestToCorner, metresBetween(now, corner));
            if (previousHeading >= 0.0) {
                turn.largestTurnPerTick =
                    std::max(turn.largestTurnPerTick,
                             std::fabs(std::remainder(ac.sim.heading - previousHeading, 2 * pi)));
                if (metresBetween(previous, now) > 0.02) {  // moving: nose along the movement
                    const double moving = common::initialBearing(previous, now);
                    const double slide = std::fabs(std::remainder(ac.sim.heading - moving, 2 * pi));
                    turn.worstSlide = std::max(turn.worstSlide, slide);
                    if (slide > 10.0 * degree) ++turn.slidingTicks;
                }
            }
            previous = now;
            previousHeading = ac.sim.heading;
        });
        return turn;
    }
};

TEST_F(LiveGroundTurnTest, ARightAngleTaxiTurnIsFlownAsACurveWithoutSliding) {
    // East at 10 m/s to a corner 300 m out, then north.
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 30; s += 5)
        reports.push_back(at(s, 10.0 * s, 0, 19.4, 90));
    for (int s = 35; s <= 70; s += 5)
        reports.push_back(at(s, 300, 10.0 * (s - 30), 19.4, 0));
    const TaxiTurn turn = flyTurn(reports, common::destinationPoint(origin, pi / 2, 300 / 1852.0));
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_NEAR(aircraft()->sim.heading / degree, 0.0, 2.0) << "turned north";
    EXPECT_GT(turn.nearestToCorner, 10.0) << "the corner is cut by a curve, not driven into";
    EXPECT_LT(turn.nearestToCorner, 100.0);
    EXPECT_LT(turn.largestTurnPerTick / degree, 0.5) << "no sudden swing of the nose";
    EXPECT_LT(turn.worstSlide / degree, 10.0) << "the nose points where the aircraft goes";
}

TEST_F(LiveGroundTurnTest, ATurnReportedAtAFewPointsOfItsArcIsFollowedNoseFirst) {
    // East at 10 m/s, then round a quarter circle reported every 30 degrees, then north: every
    // other reported point ends one curve and begins the next, turned by the arc's 30 degrees.
    const double radius = 95.5;
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 30; s += 5)
        reports.push_back(at(s, 10.0 * s, 0, 19.4, 90));
    for (int step = 1; step <= 3; ++step) {
        const double angle = 30.0 * step * degree;
        reports.push_back(at(30 + 5 * step, 300 + radius * std::sin(angle),
                             radius * (1 - std::cos(angle)), 19.4, 90 - 30 * step));
    }
    for (int s = 50; s <= 80; s += 5)
        reports.push_back(at(s, 300 + radius, radius + 10.0 * (s - 45), 19.4, 0));
    const TaxiTurn turn = flyTurn(reports, common::destinationPoint(origin, pi / 2, 300 / 1852.0));
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_NEAR(aircraft()->sim.heading / degree, 0.0, 2.0) << "turned north";
    EXPECT_LT(turn.slidingTicks, 50) << "the nose points where the aircraft goes";
}

TEST_F(LiveGroundTurnTest, ATurnReportedAsTwoBendsIsFollowedNoseFirst) {
    // East at 10 m/s, one report on the diagonal, then north: two bends of 45 degrees. The curve
    // round the first ends on the diagonal's point, where the second begins.
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 30; s += 5)
        reports.push_back(at(s, 10.0 * s, 0, 19.4, 90));
    reports.push_back(at(36, 340, 40, 18.3, 45));
    for (int s = 42; s <= 80; s += 5)
        reports.push_back(at(s, 340, 40 + 10.0 * (s - 36), 19.4, 0));
    const TaxiTurn turn = flyTurn(reports, common::destinationPoint(origin, pi / 2, 300 / 1852.0));
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_NEAR(aircraft()->sim.heading / degree, 0.0, 2.0) << "turned north";
    EXPECT_LT(turn.slidingTicks, 20) << "the nose points where the aircraft goes";
}

TEST_F(LiveGroundTurnTest, ALineUpWhoseCornerWasNotReportedIsFollowedNoseFirst) {
    // A taxi onto a runway (fr24 at Istanbul): along the taxiway at 9 kt, a last report there
    // at 0 kt, then one 27 m on, already on the runway's line: the curve's corner, where the two
    // lines meet, lies near its end, and most of its turn comes in its last few metres.
    struct Report {
        int second;
        double east, north, knots, track;
    };
    std::vector<realtraffic::TrafficReport> reports;
    for (const Report r :
         {Report{0, -226.3, 70.1, 9, 180}, Report{11, -217.2, 17.0, 9, 154},
          Report{17, -198.9, 3.9, 8, 123}, Report{21, -181.3, -1.2, 8, 104},
          Report{26, -158.4, -2.6, 9, 92}, Report{52, 0, 0, 0, 87}, Report{61, 11.3, 24.7, 6, 5},
          Report{71, 11.5, 65.0, 10, 2}, Report{73, 10.0, 90.5, 18, 2},
          Report{76, 10.0, 151.6, 32, 2}, Report{77, 10.0, 175.0, 37, 2}})
        reports.push_back(at(r.second, r.east, r.north, r.knots, r.track));
    const TaxiTurn turn = flyTurn(reports, origin, 76);
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_NEAR(std::remainder(aircraft()->sim.heading / degree, 360.0), 2.0, 3.0) << "lined up";
    EXPECT_LT(turn.slidingTicks, 50) << "the nose points where the aircraft goes";
}

TEST_F(LiveGroundTurnTest, AnAircraftSettingOffAwayFromItsNoseCurvesOutNoseFirst) {
    // Taxiing north to a stop at the origin, standing half a minute, then off to the north-west
    // (53 deg left of the nose) at 5 m/s; the report after the first one on the way comes only
    // half a minute later, so the aircraft sets off with nothing beyond that point to go by.
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 40; s += 5)
        reports.push_back(at(s, 0, 5.0 * (s - 40), 9.7, 0));
    for (int s = 45; s <= 80; s += 5)
        reports.push_back(at(s, 0, 0, 0, 0));
    const double way = -53.0 * degree;
    for (const int s : {90, 125, 130, 135, 140}) {
        const double out = 5.0 * (s - 80);
        reports.push_back(at(s, out * std::sin(way), out * std::cos(way), 9.7, 307));
    }
    const TaxiTurn turn = flyTurn(reports, origin, 140);
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_NEAR(aircraft()->sim.heading / degree, 307.0, 3.0) << "set off the reported way";
    EXPECT_LT(turn.slidingTicks, 20) << "the nose points where the aircraft goes";
}

TEST_F(LiveGroundTest, GroundPositionsJumpingBackAndForthDoNotTurnTheAircraftAround) {
    // Taxiing east at 5 m/s to a stop 150 m out; then its transponder's positions jump between
    // the stop and a place 19 m further east every 3 s, with the speeds and tracks the jumps
    // make (OpenSky at Zurich): a taxiing aircraft does not turn round on the spot to back up.
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 30; s += 3)
        reports.push_back(at(s, 5.0 * s, 0, 9.7, 90));
    for (int s = 33; s <= 90; s += 3) {
        const bool ahead = (s / 3) % 2 == 0;
        reports.push_back(at(s, ahead ? 169 : 150, 0, 3, ahead ? 90 : 270));
    }
    double worstOffEast = 0.0;
    fly(reports, 3000 + 12000, [&](const LiveAircraft& ac) {
        worstOffEast =
            std::max(worstOffEast, std::fabs(std::remainder(ac.sim.heading - pi / 2, 2 * pi)));
    });
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_LT(worstOffEast / degree, 10.0);
    EXPECT_GT(metresBetween(origin, {aircraft()->sim.latitude, aircraft()->sim.longitude}), 145.0);
}

TEST_F(LiveGroundTest, AnAcceleratingAircraftWhoseReportedSpeedLagsKeepsToItsTimes) {
    // Rolling east at 2 m/s, then speeding up by 1 m/s each second to 18 m/s, reported every
    // 3 s with the speed it had 4 s before (fr24's speeds lag so): by the reported speeds every
    // segment of the acceleration takes longer than its reported times give it.
    const auto speedAt = [](double second) { return std::clamp(2.0 + (second - 20.0), 2.0, 18.0); };
    const auto metresAt = [&](double second) {
        double metres = 0.0;
        for (double s = 0.0; s < second; s += 0.01)
            metres += speedAt(s) * 0.01;
        return metres;
    };
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 75; s += 3)
        reports.push_back(at(s, metresAt(s), 0, speedAt(s - 4.0) / 0.514444, 90));
    double worstLate = 0.0;
    fly(reports, 3000 + 6000, [&](const LiveAircraft& ac) {
        const double second = (runState.liveTickCount - 3000) / 100.0;
        if (second < 15.0) return;  // created a little late: caught up by then
        const common::GeoPoint due =
            common::destinationPoint(origin, pi / 2, metresAt(second) / 1852.0);
        worstLate = std::max(worstLate, metresBetween(due, {ac.sim.latitude, ac.sim.longitude}));
    });
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_LT(worstLate, 10.0);
}

TEST_F(LiveGroundTest, ATaxiWhoseReportedSpeedUndersellsItsMovementKeepsToItsTimes) {
    // 10 m/s east, reported as 18 kt (9.3 m/s): by speed alone it would fall a little further
    // behind at every point, 20 m after a minute and a half.
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 90; s += 5)
        reports.push_back(at(s, 10.0 * s, 0, 18, 90));
    double worstLate = 0.0;
    fly(reports, 3000 + 8500, [&](const LiveAircraft& ac) {
        const double second = (runState.liveTickCount - 3000) / 100.0;
        if (second < 20.0) return;  // created a little late: caught up by then
        const common::GeoPoint due =
            common::destinationPoint(origin, pi / 2, 10.0 * second / 1852.0);
        worstLate = std::max(worstLate, metresBetween(due, {ac.sim.latitude, ac.sim.longitude}));
    });
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_LT(worstLate, 3.0);
}

TEST_F(LiveGroundTest, ADepartureRunBecomesATakeOffAndAClimbOut) {
    // Accelerating down a runway to the east, lifting off at 150 kt, climbing at 2000 ft/min.
    std::vector<realtraffic::TrafficReport> reports;
    double east = 0.0;
    for (int s = 0; s <= 90; s += 5) {
        const double knots = std::min(20.0 + 4.0 * s, 170.0);
        east += knots * 1852.0 / 3600.0 * 5;
        auto r = at(s, east, 0, knots, 90);
        if (s >= 40) {
            r.airborne = true;
            r.altitude = 2000.0 / 60.0 * (s - 35);
            r.verticalSpeed = 2000.0;
        }
        reports.push_back(r);
    }
    bool departing = false;
    bool tookOff = false;
    bool climbedOut = false;
    double largestPitchStep = 0.0;
    double previousPitch = 0.0;
    fly(reports, 3000 + 9000, [&](const LiveAircraft& ac) {
        departing = departing || ac.departing;
        tookOff = tookOff || ac.phase == AcPhase::TakeOff;
        climbedOut = climbedOut || (tookOff && ac.phase == AcPhase::Flying);
        largestPitchStep = std::max(largestPitchStep, std::fabs(ac.sim.pitch - previousPitch));
        previousPitch = ac.sim.pitch;
    });
    ASSERT_NE(aircraft(), nullptr);
    EXPECT_TRUE(departing);
    EXPECT_TRUE(tookOff);
    EXPECT_TRUE(climbedOut) << "flying at its climb attitude 800 ft up";
    EXPECT_FALSE(aircraft()->onGroundMode);
    EXPECT_GT(aircraft()->sim.altitude, 800.0);
    EXPECT_LT(largestPitchStep / degree, 0.2) << "the nose rises, it does not jump";
    const auto& events = simulator.queues_.events;
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const sim::ClientEventRequest& e) {
        return e.event == sim::event::gearSet && e.data == 0;
    })) << "gear up";
}

TEST_F(LiveGroundTest, AHelicopterClimbsOneSecondAfterItsTakeOffBegins) {
    build({livery("KLM Helicopter", "KLM", "EC35")});
    std::vector<realtraffic::TrafficReport> reports;
    for (int s = 0; s <= 90; s += 5) {
        // Hover-taxiing north at 10 kt, then speeding up and climbing away; created on the
        // ground before the lift-off shows in its reports.
        auto r = at(s, 0, s <= 45 ? 5.0 * s : 225.0 + 25.0 * (s - 45), s <= 45 ? 10.0 : 50.0, 0);
        r.identity.model = reference.internModel("EC35");
        if (s >= 55) {
            r.airborne = true;
            r.altitude = 20.0 * (s - 50);
            r.verticalSpeed = 1200.0;
        }
        reports.push_back(r);
    }
    std::int32_t takeOffAt = -1;
    std::int32_t climbingAt = -1;
    double altitudeAtTakeOff = 0.0;
    fly(reports, 3000 + 9000, [&](const LiveAircraft& ac) {
        if (takeOffAt < 0 && ac.phase == AcPhase::TakeOff) {
            takeOffAt = runState.liveTickCount;
            altitudeAtTakeOff = ac.sim.altitude;
        }
        if (takeOffAt >= 0 && climbingAt < 0 && ac.sim.altitude > altitudeAtTakeOff + 1e-6)
            climbingAt = runState.liveTickCount;
    });
    ASSERT_NE(aircraft(), nullptr);
    ASSERT_EQ(aircraft()->aircraftClass, liveries::categoryRotorcraft);
    ASSERT_GE(takeOffAt, 0) << "took off";
    EXPECT_NEAR(climbingAt - takeOffAt, 100, 2) << "a one-second roll";
}

TEST_F(LiveGroundTest, TheLandingRollEndsOnlyOnceTheAircraftTurnedFifteenDegrees) {
    for (const double turn : {10.0, 20.0}) {
        traffic.resetRunState();
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        std::vector<realtraffic::TrafficReport> reports;
        for (int s = 0; s <= 20; s += 5)
            reports.push_back(at(s, 25.0 * s, 0, 50, 90));
        const common::GeoPoint turnAt = common::destinationPoint(origin, pi / 2, 500 / 1852.0);
        for (int s = 25; s <= 60; s += 5) {
            auto r = at(s, 0, 0, 50, 90 - turn);
            const common::GeoPoint p =
                common::destinationPoint(turnAt, (90 - turn) * degree, 25.0 * (s - 20) / 1852.0);
            r.latitude = p.latitude;
            r.longitude = p.longitude;
            reports.push_back(r);
        }
        bool rolled = false;
        fly(reports, 3000 + 5500, [&](const LiveAircraft& ac) {
            if (rolled) return;
            rolled = true;  // as if it had just touched down heading east
            auto& landed = const_cast<LiveAircraft&>(ac);
            landed.landingRoll = true;
            landed.touchdownHeading = pi / 2;
        });
        ASSERT_NE(aircraft(), nullptr);
        EXPECT_EQ(aircraft()->landingRoll, turn < 15.0) << turn << " degrees";
    }
}

TEST_F(LiveGroundTest, AnAircraftTaxiingIntoTheUserOnTheGroundIsRemoved) {
    taxiingAircraft();
    const LiveAircraft& ac = *aircraft();
    for (const double metres : {60.0, 15.0}) {  // the user's 17 m half span, × 1.15
        const common::GeoPoint userAt =
            common::destinationPoint({ac.sim.latitude, ac.sim.longitude}, 0.0, metres / 1852.0);
        simulator.user.latitude = userAt.latitude;
        simulator.user.longitude = userAt.longitude;
        traffic.checkUserGroundCollisions();
        EXPECT_EQ(aircraft()->state, metres < 20 ? AcState::RemovingFromSim : AcState::Active)
            << metres << " m";
    }
}

}  // namespace
}  // namespace corv::live
