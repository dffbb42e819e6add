#include <string>
#include <vector>

#include "live/LiveParkingFixture.hpp"
#include "sim/SimIds.hpp"

namespace corv::live {
namespace {

using airports::HalfHourSet;
using Names = std::vector<std::string>;

class LiveStaticChecksTest : public test::LiveParkingFixture {
  protected:
    static parking::StaticView view(sim::AircraftKey key, std::string name,
                                    std::string registration, std::string callsign,
                                    std::string callsign2 = "", bool active = true) {
        parking::StaticView v;
        v.key = key;
        v.objectId = 500 + static_cast<sim::ObjectId>(key);
        v.name = std::move(name);
        v.registration = std::move(registration);
        v.callsign = std::move(callsign);
        v.callsign2 = std::move(callsign2);
        v.radiusNm = 17.0 / 1852.0;
        v.active = active;
        return v;
    }
    // KLM123, registration PH-BXA, created at gate G1.
    void parkedAtGate1() {
        std::vector<realtraffic::TrafficReport> reports = standing();
        for (realtraffic::TrafficReport& r : reports)
            r.registration = "PH-BXA";
        fly(reports, 3000 + 1000, [](const LiveAircraft&) {});
        ASSERT_NE(aircraft(), nullptr);
        ASSERT_EQ(aircraft()->state, AcState::Active);
        ASSERT_EQ(aircraft()->phase, AcPhase::Parked);
    }
    void startOver() {
        traffic.resetRunState();
        runState.liveTickCount = 0;
        for (airports::Stand& stand : airport.stands) {
            stand.liveClaimed = false;
            stand.entries.clear();
        }
        statics.aircraft.clear();
        statics.removed.clear();
    }
};

TEST_F(LiveStaticChecksTest, TheStaticTwinOfALiveAircraftLeaves) {
    struct Case {
        const char* what;
        std::vector<parking::StaticView> statics;
        HalfHourSet scheduled;  // KLM123 departing as KLM999 at these half hours
        Names removed;
    };
    const Case cases[] = {
        {"same airframe", {view(1, "DLH1*", "PH-BXA", "DLH1")}, {}, {"DLH1*"}},
        {"not in the simulator", {view(1, "DLH1*", "PH-BXA", "DLH1", "", false)}, {}, {}},
        {"its second callsign",
         {view(1, "DLH1*", "D-AAAA", "DLH1"), view(2, "KLM77*", "PH-AAA", "KLM77", "KLM123")},
         {},
         {"KLM77*"}},
        {"departing within ten half hours",
         {view(1, "KLM999*", "PH-AAA", "KLM999")},
         HalfHourSet::range(30, 30),
         {"KLM999*"}},
        {"departing later",
         {view(1, "KLM999*", "PH-AAA", "KLM999")},
         HalfHourSet::range(31, 31),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        parkedAtGate1();
        if (!c.scheduled.empty()) {
            airports::OccupancyEntry& entry = airport.stands[1].entries.emplace_back();
            entry.identity.airline = aircraft()->identity.airline;
            entry.callsign = "KLM123";
            entry.callsign2 = "KLM999";
            entry.hours = c.scheduled;
            entry.day = 3;
            entry.index = 1;
        }
        ASSERT_NE(aircraft()->identity.airline, 0);
        statics.aircraft = c.statics;
        traffic.runStaticTwinCheck();
        EXPECT_EQ(statics.removed, c.removed);
        startOver();
    }
}

TEST_F(LiveStaticChecksTest, AParkedAircraftRemovesOneStaticShowingItEachTime) {
    parkedAtGate1();
    statics.aircraft = {view(1, "DLH5*", "D-AAAA", "DLH5"), view(2, "KLM123*", "PH-AAA", "KLM9"),
                        view(3, "KLM9*", "PH-BXA", "KLM9")};
    traffic.checkParkedVersusStatic();
    EXPECT_EQ(statics.removed, Names{"KLM123*"});
    traffic.checkParkedVersusStatic();
    traffic.checkParkedVersusStatic();
    EXPECT_EQ(statics.removed, (Names{"KLM123*", "KLM9*"}));
}

TEST_F(LiveStaticChecksTest, ATaxiingAircraftRemovesAStaticItRunsInto) {
    taxiingAircraft();
    const common::GeoPoint here{aircraft()->sim.latitude, aircraft()->sim.longitude};
    statics.aircraft = {view(3, "DLH3*", "D-AAAC", "DLH3"), view(1, "DLH1*", "D-AAAA", "DLH1"),
                        view(2, "DLH2*", "D-AAAB", "DLH2")};
    // Beyond 1.1 times both half spans, within them, and right where it is.
    statics.aircraft[0].standPosition = common::destinationPoint(here, 0.0, 45.0 / 1852.0);
    statics.aircraft[1].standPosition = common::destinationPoint(here, 0.0, 30.0 / 1852.0);
    statics.aircraft[2].standPosition = here;
    traffic.checkLiveVersusStaticCollisions();
    EXPECT_EQ(statics.removed, Names{"DLH1*"});
    traffic.checkLiveVersusStaticCollisions();  // not moved since
    EXPECT_EQ(statics.removed, Names{"DLH1*"});
    tick();
    traffic.checkLiveVersusStaticCollisions();
    EXPECT_EQ(statics.removed, (Names{"DLH1*", "DLH2*"}));
}

TEST_F(LiveStaticChecksTest, NavLightsOfParkedAircraftFollowTheSettingAtOnce) {
    parkedAtGate1();
    statics.aircraft = {view(1, "DLH1*", "D-AAAA", "DLH1"),
                        view(2, "DLH2*", "D-AAAB", "DLH2", "", false)};
    simulator.queues_.events.clear();
    traffic.setParkedLights(false);
    std::vector<std::pair<sim::ObjectId, std::uint32_t>> navLights;
    for (const sim::ClientEventRequest& event : simulator.queues_.events) {
        if (event.event == sim::event::navLightsSet)
            navLights.emplace_back(event.objectId, event.data);
    }
    EXPECT_EQ(navLights, (std::vector<std::pair<sim::ObjectId, std::uint32_t>>{{test::objectId, 0},
                                                                               {501, 0}}));
}

TEST_F(LiveStaticChecksTest, TheAverageParkingTimeCountsAcrossTheWeeksEnd) {
    timeKeyNow = airports::TimeKey{7, 47};  // parked on Sunday 23:30
    parkedAtGate1();
    struct Case {
        airports::TimeKey now;
        double hours;
    };
    for (const Case& c : {Case{{7, 47}, 0.5}, Case{{1, 1}, 1.5}, Case{{1, 2}, 2.0}}) {
        timeKeyNow = c.now;
        traffic.recountLive();
        const status::ParkingDisplay shown = display.snapshot().parking;
        EXPECT_EQ(shown.parkedLive, 1);
        EXPECT_DOUBLE_EQ(shown.averageParkedHours, c.hours)
            << c.now.weekday << " " << c.now.halfHour;
    }
}

}  // namespace
}  // namespace corv::live
