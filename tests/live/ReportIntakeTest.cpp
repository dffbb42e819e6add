#include <gtest/gtest.h>

#include "live/LiveFixture.hpp"

namespace corv::live {
namespace {

using Strings = std::vector<std::string>;

struct ReportIntakeTest : test::LiveFixture {
    // An aircraft in the simulator, moved every tick, with one accepted point.
    LiveAircraft& active(std::uint32_t hexid, const std::string& callsign,
                         const std::string& registration = "") {
        intake(report(hexid, callsign, "B738", 100.0, registration));
        LiveAircraft& ac = *find(hexid);
        ac.state = AcState::Active;
        ac.phase = AcPhase::Flying;
        return ac;
    }
};

TEST_F(ReportIntakeTest, BirthFollowsTheClassSettingsAndTheParkAirportHeight) {
    struct Case {
        const char* model;
        double altitude;
        std::optional<double> parkElevation;
        bool light, highPerformance, helicopters;
        bool born;
    };
    const Case cases[] = {
        {"B738", 5000, std::nullopt, false, false, false, true},  // airliners always
        {"C25A", 5000, std::nullopt, false, false, false, true},
        {"C172", 5000, std::nullopt, false, true, true, false},
        {"C172", 5000, std::nullopt, true, false, false, true},
        {"F16", 5000, std::nullopt, true, false, true, false},
        {"EC35", 5000, std::nullopt, true, true, false, false},
        {"B738", 80, 0.0, true, true, true, false},  // cannot be told from the ground
        {"B738", 130, 0.0, true, true, true, true},
        {"B738", 80, std::nullopt, true, true, true, true},
        {"B738", 0, 0.0, true, true, true, true},  // on the ground
    };
    std::uint32_t hexid = 20000;
    for (const Case& c : cases) {
        context.settings = {c.light, c.highPerformance, c.helicopters, true};
        context.parkElevationFt = c.parkElevation;
        ++hexid;
        auto r = report(hexid, "CS" + std::to_string(hexid), c.model, 100.0);
        r.altitude = c.altitude;
        intake(r);
        EXPECT_EQ(find(hexid) != nullptr, c.born) << c.model << " at " << c.altitude;
    }
    const LiveAircraft& born = *find(20001);
    EXPECT_EQ(born.state, AcState::Buffer);
    EXPECT_EQ(born.phase, AcPhase::Birth);
    EXPECT_EQ(born.scheduleCallsign, "CS20001");
    EXPECT_EQ(born.stream.size(), 1u);
    EXPECT_EQ(born.aircraftClass, 2);
}

TEST_F(ReportIntakeTest, OneCallsignAndTypeIsOneAircraft) {
    intake(report(20001, "KLM123", "B738", 100.0));
    intake(report(20002, "KLM123", "B738", 100.0));  // a second transponder of the same flight
    intake(report(20003, "KLM123", "A320", 100.0));
    intake(report(20004, "", "B738", 100.0));
    intake(report(20005, "", "B738", 100.0));
    EXPECT_NE(find(20001), nullptr);
    EXPECT_EQ(find(20002), nullptr);
    EXPECT_NE(find(20003), nullptr);
    EXPECT_NE(find(20005), nullptr) << "without a callsign nothing tells them apart";
}

TEST_F(ReportIntakeTest, ReportsTooSoonOrWithImpossibleSpeedsAreDropped) {
    struct Case {
        double seconds;  // after the accepted report at 100 s, flying 250 kt on track 90
        double groundSpeed;
        double track;
        bool airborne;
        int extensions;
        bool taken;
    };
    const Case cases[] = {
        {1.0, 250, 120, true, 0, false},  // not newer by more than a second
        {1.01, 250, 120, true, 0, true},
        {5.0, 2500, 120, true, 0, false},  // tenfold
        {5.0, 24, 120, true, 0, false},
        {3.0, 250, 90.5, true, 0, false},  // 450 m take 3.5 s at 250 kt: nothing new
        {3.0, 250, 89.5, true, 1, true},   // while extending every point counts
        {3.0, 250, 92.0, true, 0, true},   // turning
        {4.0, 250, 90.0, true, 0, true},   // far enough
    };
    std::uint32_t hexid = 20000;
    for (const Case& c : cases) {
        ++hexid;
        intake(report(hexid, "CS" + std::to_string(hexid), "B738", 100.0));
        find(hexid)->extensionCount = c.extensions;
        auto r = report(hexid, "CS" + std::to_string(hexid), "B738", 100.0 + c.seconds);
        r.groundSpeed = c.groundSpeed;
        r.track = c.track;
        r.airborne = c.airborne;
        intake(r);
        EXPECT_EQ(find(hexid)->stream.size(), c.taken ? 2u : 1u)
            << c.seconds << " s, " << c.groundSpeed << " kt, track " << c.track;
    }

    // On the ground: standing still, a point every 15 s is enough; 20 m at 10 kt take 3.9 s.
    const struct {
        double seconds, groundSpeed;
        bool taken;
    } ground[] = {{15.0, 0, false}, {15.5, 0, true}, {3.5, 10, false}, {4.5, 10, true}};
    for (const auto& c : ground) {
        ++hexid;
        auto first = report(hexid, "GR" + std::to_string(hexid), "B738", 100.0);
        first.airborne = false;
        first.altitude = 0;
        first.groundSpeed = c.groundSpeed;
        intake(first);
        auto next = first;
        next.timestamp += c.seconds;
        intake(next);
        EXPECT_EQ(find(hexid)->stream.size(), c.taken ? 2u : 1u)
            << c.seconds << " s at " << c.groundSpeed << " kt";
    }
}

// A feed that repeats a position with a new time makes that point stand still (speed 0): the
// reports after it, still at the rolling speed, were taken for a jump from a standstill and
// dropped for good, and the aircraft stopped on the runway while its reports went on.
TEST_F(ReportIntakeTest, ARepeatedPositionDoesNotMakeTheReportedSpeedAJump) {
    auto rolling = report(20001, "CAI3208", "A320", 100.0);
    rolling.airborne = false;
    rolling.altitude = 0;
    rolling.groundSpeed = 100.0;
    intake(rolling);
    // Repeated at the same place, the point append made it stand still.
    find(20001)->stream.back().groundSpeed = 0.0;
    find(20001)->stream.back().stationary = true;
    auto on = rolling;
    on.timestamp += 2.0;
    on.longitude += 0.002;  // 140 m on at 100 kt
    intake(on);
    EXPECT_EQ(find(20001)->stream.size(), 2u);

    auto stopped = report(20002, "SWR1", "A320", 100.0);  // a real standstill still counts
    stopped.airborne = false;
    stopped.altitude = 0;
    stopped.groundSpeed = 0.0;
    intake(stopped);
    auto racing = stopped;
    racing.timestamp += 20.0;
    racing.longitude += 0.002;
    racing.groundSpeed = 100.0;
    intake(racing);
    EXPECT_EQ(find(20002)->stream.size(), 1u) << "from a reported standstill to 100 kt";
}

TEST_F(ReportIntakeTest, ABufferedAircraftTakesWhatLaterReportsTell) {
    intake(report(20001, "", "B738", 100.0));
    auto r = report(20001, "KLM123", "B738", 105.0, "PH-BXA");
    r.origin = common::FixedCode<3>("AMS");
    intake(r);
    const LiveAircraft& ac = *find(20001);
    EXPECT_EQ(ac.callsign, "KLM123");
    EXPECT_EQ(ac.registration, "PH-BXA");
    EXPECT_EQ(ac.origin.str(), "AMS");
    EXPECT_EQ(ac.stream.size(), 2u);
    EXPECT_TRUE(actions.respawned.empty());
}

TEST_F(ReportIntakeTest, AChangedCallsignRespawnsOrRenames) {
    LiveAircraft& ac = active(20001, "KLM123");
    intake(report(20001, "KLM124", "B738", 105.0));
    EXPECT_EQ(actions.respawned, Strings{"KLM124"});
    EXPECT_EQ(ac.stream.size(), 1u) << "the new livery starts from the next report";
    EXPECT_TRUE(logged.contains("          KLM124                         respawns"));

    context.settings.respawnOnIdentityChange = false;
    LiveAircraft& other = active(20002, "DLH1");
    intake(report(20002, "DLH2", "B738", 105.0));
    EXPECT_EQ(other.callsign, "DLH2");
    EXPECT_EQ(other.scheduleCallsign, "DLH2");
    EXPECT_EQ(other.state, AcState::Active);
    EXPECT_EQ(other.stream.size(), 2u);
    EXPECT_EQ(actions.respawned.size(), 1u);
}

TEST_F(ReportIntakeTest, ARegistrationOfTheCallsignsAirlineTakesItsIdentity) {
    LiveAircraft& ac = active(20001, "CFE12", "G-XXXX");
    intake(report(20001, "CFE12", "B738", 105.0, "G-LCYA"));  // the airline's own airframe
    EXPECT_EQ(reference.airlineText(ac.identity.airline), "BAW");
    EXPECT_EQ(reference.airlineText(ac.identity.operatorIndex), "CFE");
    EXPECT_EQ(reference.modelText(ac.identity.model), "A320");
    EXPECT_TRUE(ac.identity.fromRegistration);
    EXPECT_EQ(actions.respawned, Strings{"CFE12"});

    LiveAircraft& other = active(20002, "DLH77", "D-XXXX");
    intake(report(20002, "DLH77", "B738", 105.0, "PH-BXA"));  // another airline's airframe
    EXPECT_EQ(reference.modelText(other.identity.model), "B738");
    EXPECT_EQ(other.registration, "PH-BXA");
    EXPECT_EQ(actions.respawned.size(), 1u);
}

TEST_F(ReportIntakeTest, AParkedAircraftTeachesItsStandTheNewAirframe) {
    LiveAircraft& parked = active(20001, "CFE12", "G-XXXX");
    parked.phase = AcPhase::Parked;
    intake(report(20001, "CFE12", "B738", 105.0, "G-LCYA"));
    EXPECT_EQ(actions.standsRefreshed, Strings{"G-LCYA"});

    LiveAircraft& flying = active(20002, "CFE13", "G-XXXX");
    intake(report(20002, "CFE13", "B738", 105.0, "G-LCYA"));
    EXPECT_EQ(reference.airlineText(flying.identity.operatorIndex), "CFE");
    EXPECT_EQ(actions.standsRefreshed.size(), 1u) << "only a parked aircraft has a stand";
}

TEST_F(ReportIntakeTest, GhostsGoAndStayGone) {
    active(20001, "KLM12_");
    active(20002, "KLM99");
    // The ghost's base callsign appears: the ghost goes and its name is remembered.
    context.settings.respawnOnIdentityChange = false;
    intake(report(20002, "KLM12", "B738", 105.0));
    EXPECT_EQ(actions.removed, Strings{"KLM12_"});
    EXPECT_TRUE(table.ghosts.contains("KLM12_"));
    EXPECT_TRUE(
        logged.contains("          KLM12_   is a ghost and will be removed, continue with KLM12"));

    // A callsign whose base is live is refused.
    active(20003, "DLH5");
    active(20004, "DLH7");
    intake(report(20004, "DLH5_", "B738", 105.0));
    EXPECT_EQ(find(20004)->callsign, "DLH7");
    EXPECT_EQ(find(20004)->stream.size(), 1u);
}

}  // namespace
}  // namespace corv::live
