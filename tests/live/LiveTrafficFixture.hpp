#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/MatchingFixture.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/SimIds.hpp"
#include "status/DisplayState.hpp"
#include "support/FeedStandIn.hpp"
#include "support/ParameterReset.hpp"
#include "support/QuietWindow.hpp"
#include "support/RecordedControls.hpp"

// The live traffic with every service it uses played by a fake that records what it was told,
// driven tick by tick.
namespace corv::live::test {

// The simulator client as the traffic sees it: real queues, a user parked near the traffic.
struct RecordingSimulator final : sim::AiTrafficPort {
    sim::SimQueues& queues() override { return queues_; }
    sim::SimNotices& notices() override { return notices_; }
    sim::UserAircraftState userAircraft() const override { return user; }
    double userHalfWingspan() const override { return 17.0 / 1852.0; }
    sim::UserAircraftState requestUserState() override {
        ++userStateRequests;
        return user;
    }
    void requestNearbyAircraft() override { ++nearbyRequests; }
    void requestStaticCg(sim::ObjectId) override {}
    bool writeLandingRoll(sim::ObjectId, double spoilers, double throttle) override {
        landingRollWrites.push_back({spoilers, throttle});
        return true;
    }
    bool setFlightPlan(sim::ObjectId, const std::string&, const std::string&, int,
                       const std::string&) override {
        return true;
    }
    sim::SimQueues queues_;
    sim::SimNotices notices_;
    sim::UserAircraftState user{.latitude = 52.0, .longitude = 4.2, .onGround = true};
    std::vector<std::pair<double, double>> landingRollWrites;  // spoilers, throttle
    int nearbyRequests = 0;
    int userStateRequests = 0;
};

constexpr std::uint32_t hexid = 4840000;
constexpr sim::ObjectId objectId = 77;
constexpr common::GeoPoint origin{52.0, 4.0};

inline double metresBetween(const common::GeoPoint& a, const common::GeoPoint& b) {
    return common::distanceNm(a, b) * 1852.0;
}

// The static aircraft as the live traffic meets them: it records the stands it was asked to clear
// and the aircraft it was asked to remove, which then are on their way out.
struct RecordingStatics final : parking::StaticTraffic {
    void onCreationSlot(sim::SimQueues&) override {}
    std::optional<sim::ObjectId> nextRemoval() override { return std::nullopt; }
    bool onNotice(const sim::SimNotice&) override { return false; }
    void makeWayFor(const airports::Stand& stand, const parking::LiveClaim&) override {
        clearedStands.push_back(stand.id);
    }
    std::vector<parking::StaticView> staticAircraft() const override { return aircraft; }
    void removeStatic(sim::AircraftKey key) override {
        for (parking::StaticView& view : aircraft) {
            if (view.key != key) continue;
            removed.push_back(view.name);
            view.removing = view.active;
            view.active = false;
        }
    }
    std::vector<std::string> clearedStands;
    std::vector<parking::StaticView> aircraft;
    std::vector<std::string> removed;
};

class LiveTrafficFixture : public corv::test::MatchingFixture {
  protected:
    LiveTrafficFixture() {
        corv::test::resetParameters();
        build({livery("KLM 738", "KLM", "B738")});
    }
    ~LiveTrafficFixture() override { corv::test::resetParameters(); }

    // A report of KLM123 flying east at 250 kt, `seconds` into its flight, due 30 s later.
    realtraffic::TrafficReport report(double seconds, double altitude = 5000.0) {
        realtraffic::TrafficReport r;
        r.hexid = hexid;
        r.callsign = "KLM123";
        r.identity.model = reference.internModel("B738");
        const common::GeoPoint at =
            common::destinationPoint({52.0, 4.0}, std::numbers::pi / 2, 250.0 * seconds / 3600.0);
        r.latitude = at.latitude;
        r.longitude = at.longitude;
        r.altitude = altitude;
        r.groundSpeed = 250.0;
        r.track = 90.0;
        r.airborne = true;
        r.timestamp = 1000.0 + seconds;
        r.dueTick = static_cast<std::int32_t>(seconds * 100) + 3000;
        return r;
    }

    // A ground report of KLM123 at a point `east` and `north` metres from the origin.
    realtraffic::TrafficReport at(double second, double east, double north, double knots,
                                  double track) {
        auto r = report(second);
        const common::GeoPoint p = common::destinationPoint(
            common::destinationPoint(origin, std::numbers::pi / 2, east / 1852.0), 0.0,
            north / 1852.0);
        r.latitude = p.latitude;
        r.longitude = p.longitude;
        r.altitude = 0;
        r.airborne = false;
        r.groundSpeed = knots;
        r.track = track;
        return r;
    }

    // Feeds the reports as RealTraffic would, 30 s before each is due, creates the object when
    // asked and flies until `endTick`, calling `watch` after every tick of the active aircraft.
    template <class Watch>
    void fly(const std::vector<realtraffic::TrafficReport>& reports, std::int32_t endTick,
             Watch watch) {
        std::size_t next = 0;
        while (runState.liveTickCount < endTick) {
            next = feedDue(reports, next);
            tick();
            if (!simulator.queues_.creations.empty()) {
                simulator.queues_.creations.clear();
                simulator.notices_.post({.objectId = objectId,
                                         .key = static_cast<std::int32_t>(hexid),
                                         .kind = sim::SimNoticeKind::LiveSpawned});
            }
            if (aircraft() == nullptr) return;
            if (aircraft()->state == AcState::Active) watch(*aircraft());
        }
    }

    // Hands over the reports from `next` on that RealTraffic has sent by now (30 s before each
    // is due), in order; the index of the first one still to come.
    std::size_t feedDue(const std::vector<realtraffic::TrafficReport>& reports, std::size_t next) {
        for (; next < reports.size() && reports[next].dueTick - 3000 <= runState.liveTickCount;
             ++next)
            traffic.intakeReport(reports[next]);
        return next;
    }
    void tick() { traffic.handleAddingStack(); }
    void tickUntil(std::int32_t liveTick) {
        while (runState.liveTickCount < liveTick)
            tick();
    }
    const LiveAircraft* aircraft() const {
        const auto& all = traffic.table().aircraft;
        return all.empty() ? nullptr : &all.front();
    }
    std::size_t eventCount(sim::ClientEventId event) const {
        return static_cast<std::size_t>(
            std::count_if(simulator.queues_.events.begin(), simulator.queues_.events.end(),
                          [event](const sim::ClientEventRequest& e) { return e.event == event; }));
    }
    // Fed and spawned: the simulator has created the object and the traffic activated it.
    void activeAircraft() {
        for (int second = 0; second <= 30; second += 10)
            traffic.intakeReport(report(second));
        tickUntil(3051);
        ASSERT_EQ(simulator.queues_.creations.size(), 1u);
        simulator.notices_.post({.objectId = objectId,
                                 .key = static_cast<std::int32_t>(hexid),
                                 .kind = sim::SimNoticeKind::LiveSpawned,
                                 .second = 5000.0});
        tickUntil(3051 + LiveTraffic::activationTicks + 1);
        ASSERT_EQ(aircraft()->state, AcState::Active);
    }

    // A report of KLM123 taxiing east at 20 kt, `metres` from where it started.
    realtraffic::TrafficReport taxi(double seconds, double metres) {
        auto r = report(seconds);
        const common::GeoPoint at =
            common::destinationPoint({52.0, 4.0}, std::numbers::pi / 2, metres / 1852.0);
        r.latitude = at.latitude;
        r.longitude = at.longitude;
        r.altitude = 0;
        r.airborne = false;
        r.groundSpeed = 20.0;
        return r;
    }
    // Taxied 200 m in its first 20 s, then created and activated: on the ground in the simulator.
    void taxiingAircraft() {
        for (double second = 0; second <= 20; second += 5)
            traffic.intakeReport(taxi(second, second * 10 + 1));
        tickUntil(3051);
        ASSERT_EQ(simulator.queues_.creations.size(), 1u);
        simulator.notices_.post({.objectId = objectId,
                                 .key = static_cast<std::int32_t>(hexid),
                                 .kind = sim::SimNoticeKind::LiveSpawned});
        tickUntil(3051 + LiveTraffic::activationTicks + 1);
        ASSERT_TRUE(aircraft()->onGroundMode);
    }

    services::RunState runState;
    services::MessageLine messages{[] {}};
    status::DisplayState display;
    corv::test::QuietWindow window;
    RecordingSimulator simulator;
    corv::test::FixtureLiveries liveries{indexes, run};
    corv::test::RecordedControls controls;
    corv::test::FeedStandIn feed;
    RecordingStatics statics;
    std::atomic<airports::TimeKey> timeKeyNow{airports::TimeKey{3, 20}};  // Wednesday 10:00
    airports::LoadedAirport airport;  // not loaded: no stands unless a test loads some
    LiveTraffic traffic{LiveServices{runState, messages, display, window, controls, reference,
                                     liveries, simulator, feed, random, timeKeyNow, &statics,
                                     &airport}};
};

}  // namespace corv::live::test
