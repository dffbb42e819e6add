#include <gtest/gtest.h>

#include <numbers>
#include <stdexcept>

#include "sim/DefinitionData.hpp"
#include "sim/standin/StandInHarness.hpp"
#include "sim/standin/UserTrack.hpp"

namespace corv::sim::standin::test {
namespace {

TEST(StandInScenario, DefaultParksTheUserAtSchipholOrTheFirstAirport) {
    StandInHarness h;
    auto user = h.start().findObject(StandInSimulator::userObjectId);
    EXPECT_EQ(user->latitude, 52.3086);
    EXPECT_EQ(user->title, "Stand-in Airbus A320");

    StandInHarness withoutSchiphol;
    withoutSchiphol.catalogue.assign({airport("LFPG", "CDG", 49.0097, 2.5479, 392.0F),
                                      airport("EGLL", "LHR", 51.4706, -0.4619, 83.0F)});
    user = withoutSchiphol.start().findObject(StandInSimulator::userObjectId);
    EXPECT_EQ(user->latitude, 51.4706) << "the first by code";
    EXPECT_EQ(user->altitudeFeet, 83.0 + 6.0);
}

TEST(StandInScenario, SimulatorNameAndVersionComeInTheOpenMessage) {
    StandInHarness h;
    corv::test::writeFile(h.install / "standin-scenario.json", R"({
        "simulator": {"name": "Lockheed Martin\u00ae Prepar3D\u00ae v6",
                      "version": "6.0.24.4294967295"},
        "user": {"position": {"latitude": 52.3086, "longitude": 4.7639}}})");
    h.start().open("Corvane_P3D");
    const auto messages = h.dispatch();
    ASSERT_EQ(messages.size(), 1u);
    const auto& open = std::get<OpenMessage>(messages[0]);
    EXPECT_EQ(open.applicationName, "Lockheed Martin\u00ae Prepar3D\u00ae v6");
    EXPECT_EQ(open.versionMajor, 6u);
    EXPECT_EQ(open.versionMinor, 0u);
    EXPECT_EQ(open.buildMajor, 24u);
    EXPECT_EQ(open.buildMinor, 4294967295u);
}

TEST(StandInScenario, GroundLiesAtTheNearestAirportOrWhereTheScenarioSaysSo) {
    struct Case {
        const char* scenario;
        double groundFeet;
    };
    const Case cases[] = {
        // Reading, 35 nm from Heathrow and 220 from Schiphol.
        {R"({"user": {"position": {"latitude": 51.45, "longitude": -0.97}}})", 83.0},
        {R"({"user": {"position": {"latitude": 52.0, "longitude": 4.5}}})", -11.0},
        {R"({"groundElevation": 1234, "user": {"position": {"latitude": 52.0, "longitude": 4.5}}})",
         1234.0},
    };
    for (const auto& [scenario, groundFeet] : cases) {
        StandInHarness h;
        corv::test::writeFile(h.install / "standin-scenario.json", scenario);
        auto& sim = h.startAndOpen();
        sim.requestDataOnSimObjectType(101, 404, 1000, SimObjectType::Aircraft);
        h.dispatch();
        const auto replies = h.receivedOf<ObjectDataByTypeMessage>();
        ASSERT_EQ(replies.size(), 1u) << scenario;
        DefinitionReader data(replies[0].data);
        EXPECT_EQ(data.float64(), 6.0) << scenario;
        EXPECT_EQ(data.float64(), groundFeet) << scenario;
        EXPECT_EQ(data.int64(), 1) << scenario;
        EXPECT_EQ(data.string32(), "STANDIN") << scenario;
    }
}

TEST(StandInScenario, UserFollowsTheRecordedTrack) {
    Scenario scenario;
    scenario.track = {{0.0, 52.0, 4.0, 0.0, 350.0, 0.0, true},
                      {10.0, 52.0, 4.0, 0.0, 350.0, 20.0, true},
                      {20.0, 52.1, 4.2, 2000.0, 10.0, 160.0, false}};
    struct Case {
        double seconds;
        double latitude;
        double heading;
        bool onGround;
    };
    for (const auto& [seconds, latitude, heading, onGround] :
         {Case{-5.0, 52.0, 350.0, true}, Case{5.0, 52.0, 350.0, true},
          Case{15.0, 52.05, 0.0, false}, Case{99.0, 52.1, 10.0, false}}) {
        const auto pose = userPoseAt(scenario, seconds);
        EXPECT_NEAR(pose.latitude, latitude, 1e-9) << seconds;
        EXPECT_NEAR(pose.headingDegrees, heading, 1e-9) << seconds;
        EXPECT_EQ(pose.onGround, onGround) << seconds;
    }
    EXPECT_NEAR(userPoseAt(scenario, 15.0).altitudeFeet, 1000.0, 1e-9);
    EXPECT_NEAR(userPoseAt(scenario, 15.0).verticalSpeedFps, 200.0, 1e-9);
}

TEST(StandInScenario, TrackedUserIsAnsweredInTheAskedUnitsAndLeavesTheGround) {
    StandInHarness h;
    corv::test::writeFile(h.install / "standin-scenario.json", R"({"user": {"track": [
        {"time": 0, "latitude": 52.30, "longitude": 4.76, "heading": 90, "onGround": true},
        {"time": 10, "latitude": 52.30, "longitude": 4.80, "altitude": 2000, "heading": 90,
         "groundSpeed": 160}]}})");
    auto& sim = h.startAndOpen();
    struct Case {
        std::chrono::milliseconds after;
        std::int64_t onGround;
        double aboveGround;
    };
    for (const auto& [after, onGround, aboveGround] :
         {Case{0ms, 1, 6.0}, Case{10000ms, 0, 2000.0 + 11.0}}) {
        h.clock->advance(after);
        h.received.clear();
        sim.requestDataOnSimObject(109, 403, 0, Period::Once);
        sim.requestDataOnSimObject(108, 409, 0, Period::Once);
        h.dispatch();
        const auto replies = h.receivedOf<ObjectDataMessage>();
        ASSERT_EQ(replies.size(), 2u);
        DefinitionReader state(replies[0].data);
        state.float64();
        state.float64();
        state.float64();
        state.float64();
        EXPECT_NEAR(state.float64(), std::numbers::pi / 2, 1e-12) << "heading in radians";
        state.float64();
        state.float64();
        EXPECT_NEAR(state.float64(), aboveGround, 1e-9);
        EXPECT_EQ(DefinitionReader(replies[1].data).int64(), onGround);
    }
}

TEST(StandInScenario, ScriptedEventsHappenAtTheirTime) {
    StandInHarness h;
    corv::test::writeFile(h.install / "standin-scenario.json", R"({
        "user": {"position": {"latitude": 52.3086, "longitude": 4.7639, "heading": 90}},
        "events": [
            {"time": 3, "kind": "pause"},
            {"time": 4, "kind": "resume"},
            {"time": 1, "kind": "positionChanged", "latitude": 51.47, "longitude": -0.46},
            {"time": 2, "kind": "flightLoaded", "file": "Flights\\other.fxml"},
            {"time": 5, "kind": "failRequest"},
            {"time": 6, "kind": "quit"}
        ]})");
    auto& sim = h.startAndOpen();
    h.run(900ms);
    EXPECT_TRUE(h.receivedOf<FilenameMessage>().empty());
    EXPECT_EQ(sim.findObject(StandInSimulator::userObjectId)->latitude, 52.3086);

    h.run(1100ms);
    const auto changed = h.receivedOf<EventMessage>();
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[1].eventId, event::positionChanged);
    EXPECT_EQ(sim.findObject(StandInSimulator::userObjectId)->latitude, 51.47);
    const auto loaded = h.receivedOf<FilenameMessage>();
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].eventId, event::flightLoaded);
    EXPECT_EQ(loaded[0].fileName, "Flights\\other.fxml");

    h.received.clear();
    h.run(2000ms);
    const auto running = h.receivedOf<EventMessage>();
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(running[0].eventId, event::sim);
    EXPECT_EQ(running[0].data, 0u);
    EXPECT_EQ(running[1].data, 1u);

    h.run(1000ms);
    EXPECT_LT(sim.requestDataOnSimObject(109, 403, 0, Period::Once), 0);
    EXPECT_EQ(sim.requestDataOnSimObject(109, 403, 0, Period::Once), 0) << "only one fails";

    h.received.clear();
    h.run(1000ms);
    ASSERT_FALSE(h.receivedOf<QuitMessage>().empty());
    EXPECT_TRUE(std::holds_alternative<QuitMessage>(h.received.back())) << "nothing after it";
    h.dispatch();
    EXPECT_LT(h.lastDispatch, 0);
    EXPECT_LT(sim.requestDataOnSimObject(109, 403, 0, Period::Once), 0);
    EXPECT_EQ(sim.close(), 0);
    EXPECT_LT(sim.open("Corvane_P3D"), 0) << "the simulator has gone";
}

TEST(StandInScenario, FaultyScenarioFilesAreNamed) {
    const auto withVersion = [](const char* version) {
        return std::string(R"({"user": {"position": {"latitude": 1, "longitude": 2}},
                                "simulator": {"version": )") +
               version + "}}";
    };
    for (const std::string& text :
         {std::string("{"), std::string(R"({"user": {}})"),
          std::string(R"({"user": {"position": {"latitude": 1, "longitude": 2}},
                          "events": [{"time": 1, "kind": "explode"}]})"),
          withVersion(R"("6.0.24")"), withVersion(R"("6.0.24.31643.1")"),
          withVersion(R"("6..24.31643")"), withVersion(R"("6.0.24.4294967296")"),
          withVersion("6")}) {
        StandInHarness h;
        corv::test::writeFile(h.install / "standin-scenario.json", text);
        EXPECT_THROW(h.start(), std::runtime_error) << text;
    }
}

TEST(StandInScenario, SnapshotShowsEveryObjectAroundTheUser) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    InitPosition position = parkedAt(52.31, 4.76, 270.0);
    sim.aiCreateNonAtcAircraft("Test A320 KLM", "PH-NEAR", position, 104);
    position.latitude = 55.0;
    sim.aiCreateNonAtcAircraft("Test A320 KLM", "PH-FAR", position, 104);
    sim.transmitClientEvent(100, 208, 1, 301);

    const auto json = sim.snapshotJson();
    ASSERT_EQ(json["objects"].size(), 3u);
    const auto& near = json["objects"][1];
    EXPECT_EQ(near["tailNumber"], "PH-NEAR");
    EXPECT_NEAR(near["heading"].get<double>(), 270.0, 1e-9);
    EXPECT_EQ(near["onGround"], true);
    EXPECT_EQ(near["lights"]["nav"], true);
    EXPECT_EQ(json["objects"][0]["user"], true);

    const auto svg = sim.snapshotSvg(5.0);
    EXPECT_NE(svg.find("PH-NEAR"), std::string::npos);
    EXPECT_EQ(svg.find("PH-FAR"), std::string::npos);
    EXPECT_NE(svg.find("STANDIN"), std::string::npos);

    sim.writeSnapshot();
    EXPECT_TRUE(std::filesystem::exists(h.install / "standin-world.json"));
    EXPECT_TRUE(std::filesystem::exists(h.install / "standin-world.svg"));
}

TEST(StandInScenario, WritesSnapshotsAtTheScenariosInterval) {
    StandInHarness h;
    corv::test::writeFile(h.install / "standin-scenario.json", R"({"snapshot": {"every": 10},
        "user": {"position": {"latitude": 52.3, "longitude": 4.7}}})");
    h.startAndOpen();
    const auto picture = h.install / "standin-world.svg";
    h.dispatch();
    EXPECT_TRUE(std::filesystem::remove(picture));
    h.run(9900ms, 100ms);
    EXPECT_FALSE(std::filesystem::exists(picture));
    h.run(100ms);
    EXPECT_TRUE(std::filesystem::exists(picture));
}

}  // namespace
}  // namespace corv::sim::standin::test
