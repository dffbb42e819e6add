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
