#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>

#include "sim/DefinitionData.hpp"
#include "sim/standin/StandInHarness.hpp"

namespace corv::sim::standin::test {
namespace {

TEST(StandInConnection, OpensLikeTheRealSimulatorAndRefusesCallsBeforeAndAfter) {
    StandInHarness h;
    auto& sim = h.start();
    std::uint32_t packet = 0;
    const std::function<Status()> calls[] = {
        [&] { return sim.addToDataDefinition(409, "SIM ON GROUND", "Bool", DataType::Int64); },
        [&] { return sim.requestDataOnSimObject(108, 409, 0, Period::Once); },
        [&] { return sim.aiCreateNonAtcAircraft("Test A320 KLM", "KLM1", {}, 104); },
        [&] { return sim.getLastSentPacketId(packet); },
        [&] { return sim.callDispatch([](const SimMessage&) {}); },
        [&] { return sim.close(); },
    };
    for (const auto& call : calls)
        EXPECT_LT(call(), 0);

    ASSERT_EQ(sim.open("Corvane_P3D"), 0);
    EXPECT_LT(sim.open("Corvane_P3D"), 0) << "one client at a time";
    const auto messages = h.dispatch();
    ASSERT_EQ(messages.size(), 1u);
    const auto& open = std::get<OpenMessage>(messages[0]);
    EXPECT_EQ(open.applicationName, "Lockheed Martin\u00ae Prepar3D\u00ae v5");
    EXPECT_EQ(open.versionMajor, 5u);
    EXPECT_EQ(open.versionMinor, 3u);
    EXPECT_EQ(open.buildMajor, 17u);
    EXPECT_EQ(open.buildMinor, 28160u);

    ASSERT_EQ(sim.close(), 0);
    for (const auto& call : calls)
        EXPECT_LT(call(), 0);
    EXPECT_EQ(sim.open("Corvane_P3D"), 0) << "a closed connection can be opened again";
}

TEST(StandInConnection, RefusesUnknownNamesAsTheSimulatorDoesNamingPacketAndParameter) {
    struct Case {
        const char* what;
        std::function<Status(StandInSimulator&)> call;
        std::uint32_t index;
        // Uses what the refused call would have declared; true when it is not there.
        std::function<bool(StandInHarness&)> ignored;
    };
    const auto onlyUnrecognizedId = [](const std::vector<SimMessage>& messages) {
        const auto* refusal =
            messages.size() == 1 ? std::get_if<ExceptionMessage>(&messages[0]) : nullptr;
        return refusal != nullptr && refusal->exception == exception::unrecognizedId;
    };
    // A definition of its own, so that a refused variable leaves it empty and unknown.
    const auto definitionUnknown = [&](StandInHarness& h) {
        h.sim->requestDataOnSimObject(1, 500, 0, Period::Once);
        return onlyUnrecognizedId(h.dispatch());
    };
    const Case cases[] = {
        {"variable",
         [](auto& sim) { return sim.addToDataDefinition(500, "PLANE LATTITUDE", "degree", {}); }, 2,
         definitionUnknown},
        {"unit",
         [](auto& sim) { return sim.addToDataDefinition(500, "Plane Altitude", "feeet", {}); }, 3,
         definitionUnknown},
        {"unit of another kind",
         [](auto& sim) { return sim.addToDataDefinition(500, "Plane Latitude", "feet", {}); }, 3,
         definitionUnknown},
        {"unit of a text",
         [](auto& sim) {
             return sim.addToDataDefinition(500, "ATC ID", "number", DataType::String32);
         },
         3, definitionUnknown},
        {"event", [](auto& sim) { return sim.mapClientEventToSimEvent(700, "GEAR_SETT"); }, 2,
         [&](StandInHarness& h) {
             h.sim->transmitClientEvent(0, 700, 1, notificationGroup);
             return onlyUnrecognizedId(h.dispatch());
         }},
        // Only the names it sends can be subscribed, so a refused one has nothing to show.
        {"system event", [](auto& sim) { return sim.subscribeToSystemEvent(700, "Frames"); }, 2,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // One case that fails does not hide the others.
        [&c] {
            StandInHarness h;
            auto& sim = h.startAndOpen();
            h.dispatch();
            EXPECT_EQ(c.call(sim), 0) << "refused later, by message";
            std::uint32_t packet = 0;
            ASSERT_EQ(sim.getLastSentPacketId(packet), 0);
            const auto messages = h.dispatch();
            ASSERT_EQ(messages.size(), 1u);
            ASSERT_TRUE(std::holds_alternative<ExceptionMessage>(messages[0]));
            const auto& refusal = std::get<ExceptionMessage>(messages[0]);
            EXPECT_EQ(refusal.exception, exception::nameUnrecognized);
            EXPECT_EQ(refusal.sendId, packet);
            EXPECT_EQ(refusal.index, c.index);
            if (c.ignored) {
                EXPECT_TRUE(c.ignored(h));
            }
        }();
    }
}

TEST(StandInConnection, KnowsEveryNameOfTheProgramsSetUpInAnyCase) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    // The real simulator does not mind the case of names and units.
    sim.addToDataDefinition(500, "plane altitude", "METERS", DataType::Float64);
    sim.mapClientEventToSimEvent(700, "gear_set");
    sim.subscribeToSystemEvent(701, "FRAME");
    h.run(100ms);
    EXPECT_TRUE(h.receivedOf<ExceptionMessage>().empty());
    EXPECT_EQ(h.standInLog().find("unrecognized"), std::string::npos);
}

TEST(StandInConnection, AnswersTheUserDefinitionsPackedInOrder) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    ASSERT_EQ(sim.requestDataOnSimObject(109, 403, 0, Period::Once), 0);
    ASSERT_EQ(sim.requestDataOnSimObject(106, 407, 0, Period::Once), 0);
    ASSERT_EQ(sim.requestDataOnSimObject(107, 408, 0, Period::Once), 0);
    ASSERT_EQ(sim.requestDataOnSimObject(108, 409, 0, Period::Once), 0);
    h.dispatch();
    const auto replies = h.receivedOf<ObjectDataMessage>();
    ASSERT_EQ(replies.size(), 4u);
    for (const auto& reply : replies)
        EXPECT_EQ(reply.objectId, StandInSimulator::userObjectId);

    // The default scenario parks the user at EHAM, whose ground lies 11 ft below sea level.
    EXPECT_EQ(replies[0].requestId, 109u);
    EXPECT_EQ(replies[0].data.size(), 13u * 8);
    DefinitionReader state(replies[0].data);
    EXPECT_DOUBLE_EQ(state.float64(), 52.3086);
    EXPECT_DOUBLE_EQ(state.float64(), 4.7639);
    EXPECT_EQ(state.float64(), 0.0);  // pitch
    EXPECT_EQ(state.float64(), 0.0);  // bank
    EXPECT_EQ(state.float64(), 0.0);  // heading
    const double altitude = state.float64();
    EXPECT_NEAR(altitude, -11.0 + 6.0, 1e-9);
    EXPECT_EQ(state.float64(), altitude);  // indicated
    EXPECT_NEAR(state.float64(), 6.0, 1e-9);
    EXPECT_EQ(state.float64(), 0.0);  // ground velocity
    EXPECT_EQ(state.int64(), 12 * 3600 + 34 * 60 + 56);
    EXPECT_EQ(state.int64(), 61);
    EXPECT_EQ(state.int64(), 2024);
    EXPECT_EQ(state.int64(), 0);  // lights
    EXPECT_EQ(state.remaining(), 0u);

    DefinitionReader title(replies[1].data);
    EXPECT_EQ(title.stringV(), "Stand-in Airbus A320");
    EXPECT_EQ(title.remaining(), 0u);
    EXPECT_EQ(replies[2].data.size(), 32u);
    EXPECT_EQ(DefinitionReader(replies[2].data).string32(), "A320");
    EXPECT_EQ(DefinitionReader(replies[3].data).int64(), 1) << "parked means on the ground";
}

TEST(StandInConnection, SendsFramesAtThirtyASecondAndTheRunningFlightOnce) {
    StandInHarness h;
    h.startAndOpen();
    h.run(2000ms);
    EXPECT_EQ(h.receivedOf<FrameMessage>().size(), 60u);
    EXPECT_EQ(h.receivedOf<FrameMessage>().front().eventId, event::frame);
    const auto events = h.receivedOf<EventMessage>();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].eventId, event::sim);
    EXPECT_EQ(events[0].data, 1u);

    // A client that stalled for a minute gets a second of frames, not the backlog.
    h.clock->advance(60s);
    EXPECT_EQ(h.dispatch().size(), 30u);
}

TEST(StandInConnection, RepeatsPeriodSecondRequestsEverySecondOfItsClock) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    ASSERT_EQ(sim.requestDataOnSimObject(108, 409, 0, Period::Second), 0);
    h.run(3500ms, 100ms);
    auto replies = h.receivedOf<ObjectDataMessage>();
    EXPECT_EQ(replies.size(), 4u) << "at 0, 1, 2 and 3 seconds";
    for (const auto& reply : replies)
        EXPECT_EQ(reply.requestId, 108u);

    // Asking again under the same id replaces the request instead of doubling it.
    ASSERT_EQ(sim.requestDataOnSimObject(108, 409, 0, Period::Second), 0);
    h.received.clear();
    h.run(1500ms, 100ms);
    EXPECT_EQ(h.receivedOf<ObjectDataMessage>().size(), 2u);
}

TEST(StandInConnection, MessagesAfterOneTheHandlerThrewOnWaitForTheNextDispatch) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    sim.requestDataOnSimObject(106, 407, 0, Period::Once);
    sim.requestDataOnSimObject(107, 408, 0, Period::Once);
    EXPECT_THROW(sim.callDispatch([](const SimMessage&) { throw std::runtime_error("refused"); }),
                 std::runtime_error);
    const auto rest = h.dispatch();
    ASSERT_FALSE(rest.empty());
    EXPECT_FALSE(std::holds_alternative<OpenMessage>(rest.front())) << "the failed one is gone";
    EXPECT_EQ(h.receivedOf<ObjectDataMessage>().size(), 2u);
}

}  // namespace
}  // namespace corv::sim::standin::test
