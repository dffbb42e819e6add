#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/GreatCircle.hpp"
#include "sim/DefinitionData.hpp"
#include "sim/standin/StandInHarness.hpp"

namespace corv::sim::standin::test {
namespace {

// Creates at EHAM and hands back the id the object-added message announces.
ObjectId create(StandInHarness& h, const std::string& title, const std::string& tail,
                InitPosition position = parkedAt(52.31, 4.76)) {
    EXPECT_EQ(h.sim->aiCreateNonAtcAircraft(title, tail, position, 104), 0);
    const auto messages = h.dispatch();
    for (const auto& message : messages) {
        if (const auto* added = std::get_if<ObjectAddRemoveMessage>(&message)) {
            EXPECT_EQ(added->eventId, event::objectAdded);
            EXPECT_EQ(added->objectKind, ObjectKind::Aircraft);
            return added->objectId;
        }
    }
    ADD_FAILURE() << "no object-added message for " << title;
    return 0;
}

TEST(StandInAiObjects, InstalledTitleAppearsInByTypeRepliesWithinTheRadiusOnly) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    const ObjectId near = create(h, "Test A320 KLM", "KLM1234");
    EXPECT_GE(near, StandInSimulator::firstAiObjectId);
    const auto east20nm = common::destinationPoint({52.3086, 4.7639}, std::numbers::pi / 2, 20.0);
    const ObjectId far =
        create(h, "Test A320 easyJet", "EZY42", parkedAt(east20nm.latitude, east20nm.longitude));
    EXPECT_GT(far, near);

    h.received.clear();
    ASSERT_EQ(sim.requestDataOnSimObjectType(101, 404, 10 * 1852, SimObjectType::Aircraft), 0);
    h.dispatch();
    auto replies = h.receivedOf<ObjectDataByTypeMessage>();
    ASSERT_EQ(replies.size(), 2u) << "the user and the near object";
    EXPECT_EQ(replies[0].objectId, StandInSimulator::userObjectId);
    EXPECT_EQ(replies[1].objectId, near);
    for (std::uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(replies[i].entryNumber, i + 1);
        EXPECT_EQ(replies[i].outOf, 2u);
        EXPECT_EQ(replies[i].requestId, 101u);
    }
    DefinitionReader data(replies[1].data);
    const double aboveGround = data.float64();
    EXPECT_EQ(data.float64(), -11.0) << "the ground of the nearest airport";
    EXPECT_EQ(data.int64(), 1);
    EXPECT_EQ(data.string32(), "KLM1234");
    EXPECT_NEAR(aboveGround, 9.0, 1e-9) << "an airliner's parked centre of gravity";

    // The client releases the objects it recognises from within its handler.
    sim.requestDataOnSimObjectType(101, 404, 25 * 1852, SimObjectType::Aircraft);
    replies.clear();
    ASSERT_EQ(sim.callDispatch([&](const SimMessage& message) {
        const auto& reply = std::get<ObjectDataByTypeMessage>(message);
        replies.push_back(reply);
        if (reply.objectId != StandInSimulator::userObjectId) {
            EXPECT_EQ(sim.aiReleaseControl(reply.objectId, 103), 0);
        }
    }),
              0);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[2].objectId, far);
    EXPECT_EQ(replies[2].outOf, 3u);
    EXPECT_FALSE(sim.findObject(far)->aiControlled);
}

TEST(StandInAiObjects, RefusesUnknownTitlesAndTooManyObjectsNamingThePacket) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    std::uint32_t before = 0;
    std::uint32_t refused = 0;
    ASSERT_EQ(sim.getLastSentPacketId(before), 0);
    ASSERT_EQ(sim.aiCreateNonAtcAircraft("No Such Livery", "X1", parkedAt(52.3, 4.7), 104), 0);
    ASSERT_EQ(sim.getLastSentPacketId(refused), 0);
    EXPECT_EQ(refused, before + 1);
    create(h, "Test A320 KLM", "KLM1");  // a later call must not take over the refused packet
    auto exceptions = h.receivedOf<ExceptionMessage>();
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0].exception, exception::createObjectFailed);
    EXPECT_EQ(exceptions[0].sendId, refused);
    EXPECT_EQ(sim.aiObjectCount(), 1u);

    for (std::size_t i = 1; i < StandInSimulator::maxAiObjects; ++i) {
        ASSERT_EQ(sim.aiCreateNonAtcAircraft("Test A320 KLM", "K", parkedAt(52.3, 4.7), 104), 0);
    }
    h.received.clear();
    h.dispatch();
    EXPECT_TRUE(h.receivedOf<ExceptionMessage>().empty());
    EXPECT_EQ(h.receivedOf<ObjectAddRemoveMessage>().size(), StandInSimulator::maxAiObjects - 1);
    ASSERT_EQ(sim.aiCreateNonAtcAircraft("Test A320 KLM", "K", parkedAt(52.3, 4.7), 104), 0);
    h.dispatch();
    exceptions = h.receivedOf<ExceptionMessage>();
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0].exception, exception::tooManyObjects);
    EXPECT_EQ(sim.aiObjectCount(), StandInSimulator::maxAiObjects);
}

TEST(StandInAiObjects, IsReleasedFrozenMovedOperatedAndRemoved) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    const ObjectId id = create(h, "Test A320 KLM", "KLM1");
    ASSERT_EQ(sim.aiReleaseControl(id, 103), 0);
    for (const std::uint32_t freeze : {215u, 216u, 217u}) {
        ASSERT_EQ(sim.transmitClientEvent(id, freeze, 1, 301), 0);
    }
    const std::pair<std::uint32_t, std::uint32_t> events[] = {
        {220, 0}, {218, 16383}, {219, 16383}, {221, 0}, {223, 8191}, {211, 1}, {208, 1}};
    for (const auto& [event, data] : events)
        sim.transmitClientEvent(id, event, data, 301);

    // Two moves within a second: both take effect, the log shows the first.
    for (const double latitude : {52.32, 52.33}) {
        DefinitionWriter position;
        position.float64(latitude).float64(4.77).float64(-0.05).float64(0.0).float64(
            std::numbers::pi);
        position.float64(1500.0).float64(10.0).float64(140.0);
        ASSERT_EQ(sim.setDataOnSimObject(402, id, position.bytes()), 0);
    }
    DefinitionWriter landingRoll;
    landingRoll.float64(100.0).float64(-100.0).float64(-100.0);
    ASSERT_EQ(sim.setDataOnSimObject(401, id, landingRoll.bytes()), 0);
    h.dispatch();
    EXPECT_TRUE(h.receivedOf<ExceptionMessage>().empty());

    const auto object = sim.findObject(id);
    ASSERT_TRUE(object);
    EXPECT_FALSE(object->aiControlled);
    EXPECT_TRUE(object->frozenLatLon && object->frozenAltitude && object->frozenAttitude);
    EXPECT_EQ(object->latitude, 52.33);
    EXPECT_EQ(object->altitudeFeet, 1500.0);
    EXPECT_EQ(object->heading, std::numbers::pi);
    EXPECT_FALSE(object->gearDown);
    EXPECT_NEAR(object->flapsPercent, 100.0, 1e-9);
    EXPECT_TRUE(object->enginesRunning);
    EXPECT_EQ(object->spoilersPercent, 100.0) << "the landing-roll write came last";
    EXPECT_EQ(object->throttle1Percent, -100.0);
    EXPECT_EQ(object->lights, light::landing | light::nav);

    // A record of the wrong size changes nothing.
    DefinitionWriter tooShort;
    tooShort.float64(10.0);
    ASSERT_EQ(sim.setDataOnSimObject(402, id, tooShort.bytes()), 0);
    h.received.clear();
    h.dispatch();
    ASSERT_EQ(h.receivedOf<ExceptionMessage>().size(), 1u);
    EXPECT_EQ(h.receivedOf<ExceptionMessage>()[0].exception, exception::invalidDataSize);
    EXPECT_EQ(sim.findObject(id)->latitude, 52.33);

    h.received.clear();
    ASSERT_EQ(sim.aiRemoveObject(StandInSimulator::userObjectId, 105), 0);
    ASSERT_EQ(sim.aiRemoveObject(id, 105), 0);
    ASSERT_EQ(sim.aiRemoveObject(id, 105), 0);
    h.dispatch();
    const auto removed = h.receivedOf<ObjectAddRemoveMessage>();
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].eventId, event::objectRemoved);
    EXPECT_EQ(removed[0].objectId, id);
    const auto exceptions = h.receivedOf<ExceptionMessage>();
    ASSERT_EQ(exceptions.size(), 2u);
    EXPECT_EQ(exceptions[0].exception, exception::operationInvalidForObjectType);
    EXPECT_EQ(exceptions[1].exception, exception::unrecognizedId);
    EXPECT_TRUE(sim.findObject(StandInSimulator::userObjectId));
    EXPECT_FALSE(sim.findObject(id));

    const auto log = h.standInLog();
    EXPECT_NE(log.find("created 100 'Test A320 KLM' tail 'KLM1'"), std::string::npos);
    EXPECT_NE(log.find("event GEAR_SET 0 on 100"), std::string::npos);
    EXPECT_NE(log.find("moved 100 'KLM1' to 52.320000"), std::string::npos);
    EXPECT_EQ(log.find("moved 100 'KLM1' to 52.330000"), std::string::npos);
    EXPECT_NE(log.find("removed 100 'KLM1'"), std::string::npos);
}

TEST(StandInAiObjects, StaticCgFollowsTheAircraftSize) {
    struct Case {
        int maxGrossWeight;
        double cgFeet;
    };
    for (const auto& [weight, cgFeet] : {Case{2400, 4.5}, Case{150000, 9.0}, Case{875000, 14.0}}) {
        StandInHarness h;
        const auto folder = h.install / "extra";
        std::filesystem::create_directories(folder / "plane");
        corv::test::writeFile(folder / "plane" / "aircraft.cfg", fltsimConfig({"Sized"}, weight));
        h.start({folder});
        ASSERT_EQ(h.sim->open("Corvane_P3D"), 0);
        h.declare();
        const ObjectId id = create(h, "Sized", "S1");
        ASSERT_EQ(h.sim->requestDataOnSimObject(102, 405, id, Period::Once), 0);
        h.dispatch();
        const auto replies = h.receivedOf<ObjectDataMessage>();
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0].objectId, id);
        EXPECT_EQ(DefinitionReader(replies[0].data).float64(), cgFeet) << weight;
    }
}

TEST(StandInAiObjects, LoadsFlightPlansFromTheirFile) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    const ObjectId id = create(h, "Test A320 KLM", "KLM1");
    const auto good = h.install / "100.pln";
    corv::test::writeFile(good,
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SimBase.Document "
                          "Type=\"AceXML\" version=\"4,3\">\n<FlightPlan.FlightPlan>\n"
                          "<FPType>IFR</FPType>\n<DepartureID>AMS</DepartureID>\n"
                          "<DestinationID>LHR</DestinationID>\n</FlightPlan.FlightPlan>\n"
                          "</SimBase.Document>\n\n");
    const auto notAPlan = h.install / "notes.pln";
    corv::test::writeFile(notAPlan, "hello");

    struct Case {
        std::filesystem::path file;
        bool loads;
    };
    for (const auto& [file, loads] :
         {Case{h.install / "missing.pln", false}, Case{notAPlan, false}, Case{good, true}}) {
        h.received.clear();
        ASSERT_EQ(sim.aiSetAircraftFlightPlan(id, file.string(), 110), 0);
        h.dispatch();
        const auto exceptions = h.receivedOf<ExceptionMessage>();
        ASSERT_EQ(exceptions.size(), loads ? 0u : 1u) << file;
        if (!loads) {
            EXPECT_EQ(exceptions[0].exception, exception::loadFlightplanFailed);
        }
    }
    EXPECT_EQ(sim.findObject(id)->departure, "AMS");
    EXPECT_EQ(sim.findObject(id)->destination, "LHR");
}

TEST(StandInAiObjects, LeaveWithTheClientThatMadeThem) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    create(h, "Test A320 KLM", "KLM1");
    ASSERT_EQ(sim.close(), 0);
    EXPECT_EQ(sim.aiObjectCount(), 0u);
}

}  // namespace
}  // namespace corv::sim::standin::test
