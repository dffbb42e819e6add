#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/AiControl.hpp"
#include "sim/SimClientFixture.hpp"

namespace corv::sim {
namespace {

using Strings = std::vector<std::string>;

class AiAircraftTest : public test::SimClientTest {
  protected:
    void requestCreation(const std::string& tail, AircraftKey key,
                         const std::string& title = "Boeing 737-800 KLM") {
        client.queues().queueCreation(
            {InitPosition{52.3, 4.76, 0, 0, 0, 90, true, 0}, tail, title, key});
    }
    void frame() { deliver(FrameMessage{event::frame}); }
    void added(ObjectId object) {
        deliver(ObjectAddRemoveMessage{event::objectAdded, object, ObjectKind::Aircraft});
    }
    void nearby(ObjectId object, const std::string& atcId, double aboveGround = 0.0,
                std::int64_t onGround = 1) {
        deliver(ObjectDataByTypeMessage{request::nearbyAircraft, object, define::nearbyAircraft, 1,
                                        1, test::nearbyData(aboveGround, 12.0, onGround, atcId)});
    }
};

TEST_F(AiAircraftTest, CreatedAircraftIsRecognisedReleasedFrozenAndReportedLive) {
    requestCreation("KLM123", 10001);
    frame();
    EXPECT_EQ(sim->calls, (Strings{"create Boeing 737-800 KLM KLM123 104"}));
    added(10);
    sim->calls.clear();
    nearby(10, "KLM123", 3.5);
    EXPECT_EQ(sim->calls, (Strings{"release 10 103"}));
    EXPECT_EQ(notices(),
              (std::vector<SimNotice>{{10, 10001, 0, SimNoticeKind::LiveSpawned, 0.0, 3.5}}));

    sim->calls.clear();
    frame();
    EXPECT_EQ(sim->calls,
              (Strings{"transmit 10 215 1 301", "transmit 10 216 1 301", "transmit 10 217 1 301"}));

    // Seen again it is a known object: a nearby aircraft, no second recognition.
    nearby(10, "KLM123", 3.5);
    EXPECT_EQ(notices(),
              (std::vector<SimNotice>{{10, 1, 0, SimNoticeKind::NearbyAircraft, 12.0, 3.5}}));
}

TEST_F(AiAircraftTest, StaticAircraftIsReportedStaticWithoutValues) {
    requestCreation("PHBXA", 17);
    frame();
    added(11);
    nearby(11, "PHBXA", 2.0);
    EXPECT_EQ(notices(), (std::vector<SimNotice>{{11, 17, 0, SimNoticeKind::StaticSpawned, 0, 0}}));
}

TEST_F(AiAircraftTest, TwoCreationsWithOneTailNumberAreMatchedInTheOrderSent) {
    requestCreation("N1", 10001);
    requestCreation("N1", 10002);
    frame();
    added(20);
    added(21);
    nearby(21, "N1");
    nearby(20, "N1");
    const auto spawned = notices();
    ASSERT_EQ(spawned.size(), 2u);
    EXPECT_EQ(spawned[0].objectId, 21u);
    EXPECT_EQ(spawned[0].key, 10001);
    EXPECT_EQ(spawned[1].objectId, 20u);
    EXPECT_EQ(spawned[1].key, 10002);
}

TEST_F(AiAircraftTest, NewObjectOfAnotherProgramIsLeftAlone) {
    requestCreation("KLM123", 10001);
    frame();
    added(30);
    sim->calls.clear();
    nearby(30, "DLH4*", 100.0, 0);
    EXPECT_TRUE(sim->calls.empty());
    EXPECT_TRUE(notices().empty());
    EXPECT_TRUE(logged.contains(
        "just spawned, but not by Corvane_P3D, oid: 30, callsign 'DLH4*', altaboveGnd:100 ft, "
        "onground:0, gnd_alt:12 ft"));
}

TEST_F(AiAircraftTest, KnownObjectsBecomeNearbyNoticesOnlyLowAndNamed) {
    struct Case {
        ObjectId object;
        std::string atcId;
        double aboveGround;
        bool noticed;
    };
    for (const Case& c : {Case{40, "DLH4", 2500.0, true}, Case{40, "DLH4", 2500.1, false},
                          Case{40, "", 10.0, false}, Case{40, "DLH4*", 10.0, false},
                          Case{2, "USER", 0.0, false}, Case{1, "OLD", 0.0, false}}) {
        nearby(c.object, c.atcId, c.aboveGround);
        EXPECT_EQ(notices().size(), c.noticed ? 1u : 0u) << c.atcId << " " << c.aboveGround;
    }
}

TEST_F(AiAircraftTest, RefusedCreationReportsCreateFailedWithItsKey) {
    requestCreation("KLM1", 10001);
    requestCreation("KLM2", 10002, "Unknown Livery");
    frame();
    // The second create call had the second packet id.
    deliver(ExceptionMessage{exception::createObjectFailed, 502, 4});
    EXPECT_EQ(notices(),
              (std::vector<SimNotice>{{0, 10002, 0, SimNoticeKind::CreateFailed, 0, 0}}));
    deliver(ExceptionMessage{exception::createObjectFailed, 502, 4});  // already taken out
    EXPECT_TRUE(notices().empty());
    added(12);
    nearby(12, "KLM1");
    EXPECT_EQ(notices().at(0).key, 10001);
}

TEST_F(AiAircraftTest, FailedCreateCallEndsTheRunAndUnreadablePacketIdIsZero) {
    sim->failing.insert("packetid");
    requestCreation("KLM1", 10001);
    frame();
    EXPECT_TRUE(logged.contains("==> GetLastSentPacketID"));
    deliver(ExceptionMessage{exception::createObjectFailed, 0, 4});
    EXPECT_EQ(notices().at(0).key, 10001);

    sim->failing.insert("create");
    requestCreation("KLM2", 10002, "Some Title");
    frame();
    EXPECT_TRUE(logged.contains(
        "==> ! Simcon call to create ac in sim failed, hexid:10002, liv: 'Some Title', callsign: "
        "KLM2)"));
    EXPECT_TRUE(client.hasError());
    EXPECT_EQ(run.exitReason(), services::ExitReason::SimconnectError);
}

TEST_F(AiAircraftTest, FlushSendsPositionsEventsCreationsAndRemovalsInThatOrder) {
    userAt(52.0, 4.0);  // the user's object id becomes 1
    deliverData(request::userState, test::userStateData(52.0, 4.0), 5);
    client.queues().queueRemoval(60);
    requestCreation("KLM1", 10001);
    client.queues().queueEvent(50, event::flapsSet, 3072);
    client.queues().queueEvent(51, event::gearSet, 1);
    client.queues().addPosition({.latitude = 52.0, .objectId = 50});
    client.queues().addPosition({.latitude = 52.0, .objectId = 5});  // the user's: never moved
    client.queues().handOverPositions();
    sim->failing.insert("transmit 218");
    frame();
    EXPECT_EQ(sim->calls, (Strings{"setdata 402 50 64", "release 50 103",
                                   "transmit 50 218 3072 301", "transmit 51 220 1 301",
                                   "create Boeing 737-800 KLM KLM1 104", "remove 60 105"}));
    EXPECT_EQ(messages.texts().message, "SimConnect TransmitClientEvent: 218 fails");

    sim->failing.clear();
    sim->calls.clear();
    client.queues().queueEvent(50, event::flapsSet, 0);
    frame();
    EXPECT_EQ(sim->calls, (Strings{"release 50 103", "transmit 50 218 0 301", "release 50 103"}));
    sim->calls.clear();
    frame();
    EXPECT_TRUE(sim->calls.empty());
}

TEST_F(AiAircraftTest, BusyLockKeepsTheQueuesForTheNextFrame) {
    client.queues().queueEvent(50, event::gearSet, 0);
    client.queues().queueRemoval(60);
    {
        std::lock_guard busy(client.queues().simLock());
        frame();
    }
    EXPECT_TRUE(sim->calls.empty());
    frame();
    EXPECT_EQ(sim->calls, (Strings{"transmit 50 220 0 301", "remove 60 105"}));
}

TEST_F(AiAircraftTest, BusyLockAtTheHandOverDropsThatTicksPositions) {
    client.queues().addPosition({.objectId = 50});
    {
        std::lock_guard busy(client.queues().simLock());
        client.queues().handOverPositions();
    }
    client.queues().addPosition({.objectId = 51});
    client.queues().handOverPositions();
    frame();
    EXPECT_EQ(sim->calls, (Strings{"setdata 402 51 64"}));
}

TEST_F(AiAircraftTest, WithTheErrorSetTheQueuesAreDroppedUnsent) {
    sim->failing.insert("request 109");
    client.requestUserState();
    client.queues().queueEvent(50, event::gearSet, 0);
    requestCreation("KLM1", 10001);
    client.queues().queueRemoval(60);
    sim->calls.clear();
    frame();
    sim->failing.clear();
    frame();
    EXPECT_TRUE(sim->calls.empty());
}

TEST_F(AiAircraftTest, UserAndOlderObjectsAreNeverRemoved) {
    client.queues().queueRemoval(1);
    client.queues().queueRemoval(2);
    frame();
    EXPECT_TRUE(sim->calls.empty());
    EXPECT_TRUE(logged.contains("==> SimConnect call to remove ac with objectid 1"));
    EXPECT_TRUE(logged.contains("==> SimConnect call to remove ac with objectid 2"));
}

TEST_F(AiAircraftTest, RemovedObjectsAndStaticCgBecomeNotices) {
    deliver(ObjectAddRemoveMessage{event::objectRemoved, 33, ObjectKind::Aircraft});
    deliver(ObjectAddRemoveMessage{event::objectRemoved, 34, ObjectKind::Boat});
    deliverData(request::staticCg, DefinitionWriter().float64(6.5).float64(-0.02).bytes(), 35);
    EXPECT_EQ(notices(), (std::vector<SimNotice>{{33, 0, 0, SimNoticeKind::Removed, 0, 0},
                                                 {35, 0, 0, SimNoticeKind::StaticCg, 6.5, -0.02}}));
}

TEST_F(AiAircraftTest, FlapsAndThrottleFollowTheirIndexRules) {
    auto& queues = client.queues();
    int flaps = 0;
    gf_setFlaps(queues, 50, 2, flaps, 2);
    gf_setFlaps(queues, 50, 2, flaps, 2);
    gf_setFlaps(queues, 50, 2, flaps, 7);
    gf_setFlaps(queues, 50, 2, flaps, 7);
    EXPECT_EQ(flaps, 7);
    int rotorFlaps = 0;
    gf_setFlaps(queues, 51, 5, rotorFlaps, 3);  // rotorcraft have no flaps
    EXPECT_EQ(rotorFlaps, 0);

    int throttle = 0;
    gf_setThrottle(queues, 50, throttle, 5);
    EXPECT_EQ(throttle, 5);
    gf_setThrottle(queues, 50, throttle, 4);
    gf_setThrottle(queues, 50, throttle, 4);
    gf_setThrottle(queues, 50, throttle, 1);

    gf_setGear(queues, 50, 2, false);
    gf_setGear(queues, 51, 5, false);
    gf_setSpoilers(queues, 50, 2, true);
    gf_setSpoilers(queues, 51, 5, true);

    std::vector<std::pair<ClientEventId, std::uint32_t>> events;
    for (const ClientEventRequest& e : queues.events)
        events.emplace_back(e.event, e.data);
    EXPECT_EQ(events,
              (std::vector<std::pair<ClientEventId, std::uint32_t>>{{event::flapsSet, 10240},
                                                                    {event::throttleSet, 16383},
                                                                    {event::throttleSet, 4914},
                                                                    {event::gearSet, 0},
                                                                    {event::spoilersSet, 16383}}));
    const Strings lines = logged.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "==> gf_setFlaps: invalid flaps index"), 1);
}

TEST_F(AiAircraftTest, LightsGoOutAsSevenEventsInTheirOrder) {
    setAllLights(client.queues(), 50, {1, 0, 1, 0, 1, 0, 1});
    frame();
    EXPECT_EQ(sim->calls,
              (Strings{"transmit 50 208 1 301", "transmit 50 207 0 301", "transmit 50 211 1 301",
                       "transmit 50 209 0 301", "transmit 50 210 1 301", "transmit 50 213 0 301",
                       "transmit 50 212 1 301"}));
}

}  // namespace
}  // namespace corv::sim
