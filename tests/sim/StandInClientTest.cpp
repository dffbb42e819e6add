// The simulator client against the stand-in simulator, driven by a hand-moved clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include <fmt/format.h>

#include "airports/AirportCatalogue.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/SimClient.hpp"
#include "sim/SimIds.hpp"
#include "sim/standin/StandInSimulator.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"
#include "support/Eventually.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/QuietWindow.hpp"
#include "support/TempFolder.hpp"

namespace corv::sim {
namespace {

using namespace std::chrono_literals;

struct StandInClientTest : ::testing::Test {
    StandInClientTest() {
        test::resetParameters();
        std::filesystem::create_directories(folder / "SimObjects" / "Airplanes" / "B738");
        test::writeFile(folder / "SimObjects" / "Airplanes" / "B738" / "aircraft.cfg",
                        "[fltsim.0]\r\ntitle=Test Boeing 737-800 KLM\r\natc_id=PH-TST\r\n"
                        "[General]\r\natc_model=B738\r\n");
        catalogue.assign({{airports::AirportCode("EHAM"), airports::IataCode("AMS"), 52.3086,
                           4.7639, -11.0f, 0}});
        standIn = std::make_shared<standin::StandInSimulator>(
            folder.path(), std::vector<std::filesystem::path>{}, catalogue, clock);
    }
    ~StandInClientTest() override { test::resetParameters(); }

    // Time passes: the simulator's frames and replies arrive and are handled.
    void pass(std::chrono::milliseconds time) {
        for (auto done = 0ms; done < time; done += 10ms) {
            clock->advance(10ms);
            client.dispatchWaiting();
        }
    }
    std::vector<SimNotice> noticesOf(SimNoticeKind kind) {
        std::vector<SimNotice> all = client.notices().takeAll();
        std::erase_if(all, [kind](const SimNotice& notice) { return notice.kind != kind; });
        return all;
    }

    test::LogCapture logged;
    test::TempFolder folder;
    services::RunState run;
    services::MessageLine messages{[] {}};
    status::DisplayState display;
    test::QuietWindow window;
    airports::AirportCatalogue catalogue;
    liveries::ReferenceData reference;
    std::shared_ptr<standin::ManualClock> clock = std::make_shared<standin::ManualClock>(
        std::chrono::system_clock::time_point{std::chrono::seconds{1796864400}});
    std::shared_ptr<standin::StandInSimulator> standIn;
    SimClient client{SimClientContext{run,
                                      messages,
                                      display,
                                      window,
                                      catalogue,
                                      reference,
                                      folder.path(),
                                      [this](std::chrono::milliseconds pause) { pass(pause); },
                                      {},
                                      {}},
                     [this] { return standIn; }};
};

TEST_F(StandInClientTest, HandshakeThenAnAiAircraftIsCreatedRecognisedFrozenAndReported) {
    client.expectMajorVersion("5");
    client.makeConnection();
    ASSERT_TRUE(client.open());
    ASSERT_TRUE(client.handshake());
    EXPECT_TRUE(logged.contains("Lockheed Martin Prepar3D v5 (5.3.17.28160) connected"));
    EXPECT_TRUE(display.snapshot().simConnected);
    EXPECT_NEAR(client.userAircraft().latitude, 52.3086, 0.01);

    client.queues().queueCreation(
        {{52.31, 4.76, -11.0, 0, 0, 90, true, 0}, "PH-TST", "Test Boeing 737-800 KLM", 10001});
    client.queues().queueCreation(
        {{52.31, 4.76, -11.0, 0, 0, 90, true, 0}, "PH-XXX", "Not Installed", 10002});
    pass(100ms);  // frames flush the creations
    client.requestNearbyAircraft();
    pass(100ms);

    const std::vector<SimNotice> spawned = noticesOf(SimNoticeKind::LiveSpawned);
    ASSERT_EQ(spawned.size(), 1u);
    EXPECT_EQ(spawned[0].key, 10001);
    const auto object = standIn->findObject(spawned[0].objectId);
    ASSERT_TRUE(object);
    EXPECT_FALSE(object->aiControlled);  // released to the client
    EXPECT_TRUE(object->frozenLatLon && object->frozenAltitude && object->frozenAttitude);
    EXPECT_EQ(object->tailNumber, "PH-TST");

    client.queues().queueCreation(
        {{52.31, 4.76, -11.0, 0, 0, 90, true, 0}, "PH-YYY", "Not Installed Either", 10003});
    pass(100ms);
    const std::vector<SimNotice> failed = noticesOf(SimNoticeKind::CreateFailed);
    ASSERT_FALSE(failed.empty());
    EXPECT_TRUE(std::any_of(failed.begin(), failed.end(),
                            [](const SimNotice& n) { return n.key == 10003; }));
}

TEST_F(StandInClientTest, SetUpRaisesNoExceptionAndAMisspeltNameComesBackAsOneTheProgramLogs) {
    const auto exceptionLines = [this] {
        const auto lines = logged.lines();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.starts_with("==> SIMCONNECT_EXCEPTION");
        });
    };
    client.expectMajorVersion("5");
    client.makeConnection();
    ASSERT_TRUE(client.open());
    ASSERT_TRUE(client.handshake());
    EXPECT_EQ(exceptionLines(), 0);

    // As if the set-up had misspelt a variable: the simulator answers through dispatch.
    standIn->addToDataDefinition(define::userOnGround, "SIM ON GRUOND", "Bool", DataType::Int64);
    pass(20ms);
    EXPECT_TRUE(logged.contains("==> SIMCONNECT_EXCEPTION #7"));
    EXPECT_EQ(exceptionLines(), 1);
}

TEST_F(StandInClientTest, SimulatorOfTheScenarioIsCheckedAgainstTheInstallFolderAndVersion) {
    struct Case {
        const char* simulator;  // the scenario's, none for the default
        const char* installFolder;
        const char* expectedMajor;
        const char* display;
        bool accepted;
    };
    const Case cases[] = {
        {nullptr, "Prepar3D", "5", "Lockheed Martin Prepar3D v5 (5.3.17.28160)", true},
        {R"({"name": "Lockheed Martin\u00ae Prepar3D\u00ae v6", "version": "6.0.24.31643"})",
         "Prepar3D", "6", "Lockheed Martin Prepar3D v6 (6.0.24.31643)", true},
        // The install folder speaks for v6 while the settings say 5.
        {R"({"name": "Lockheed Martin\u00ae Prepar3D\u00ae v6", "version": "6.0.24.31643"})",
         "Prepar3D v6", "5", "Lockheed Martin Prepar3D v6 (6.0.24.31643)", true},
        {nullptr, "Prepar3D v6", "6", "Lockheed Martin Prepar3D v5 (5.3.17.28160)", false},
        {R"({"name": "Lockheed Martin\u00ae Prepar3D\u00ae v4", "version": "4.5.14.28189"})",
         "Prepar3D v4", "5", "Lockheed Martin Prepar3D v4 (4.5.14.28189)", false},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        const auto install = folder / std::to_string(++number) / c.installFolder;
        std::filesystem::create_directories(install);
        test::writeFile(
            install / "standin-scenario.json",
            fmt::format(R"({{{}"user": {{"position": {{"latitude": 52.3086, )"
                        R"("longitude": 4.7639}}}}}})",
                        c.simulator ? fmt::format(R"("simulator": {}, )", c.simulator) : ""));
        settings::SIM_INSTALL_PATH.setCurrent(install.string());
        auto sim = std::make_shared<standin::StandInSimulator>(
            install, std::vector<std::filesystem::path>{}, catalogue, clock);
        services::MessageLine caseMessages{[] {}};
        status::DisplayState caseDisplay;
        SimClient threaded{SimClientContext{run,
                                            caseMessages,
                                            caseDisplay,
                                            window,
                                            catalogue,
                                            reference,
                                            folder.path(),
                                            [](std::chrono::milliseconds) {},
                                            {},
                                            {}},
                           [&sim] { return sim; }};
        threaded.expectMajorVersion(c.expectedMajor);
        threaded.startClient();
        // Accepted: the waiting message is cleared; refused: the error stays.
        ASSERT_TRUE(test::eventually([&] {
            const auto texts = caseMessages.texts();
            return !texts.error.empty() ||
                   (!caseDisplay.snapshot().simDisplayText.empty() && texts.message.empty());
        }));
        EXPECT_EQ(caseDisplay.snapshot().simDisplayText, c.display);
        EXPECT_TRUE(logged.contains(fmt::format("{} connected", c.display)));
        const std::string refusal =
            fmt::format("78: wrong P3D version '{}' connects ... ?)", c.display);
        EXPECT_EQ(caseMessages.texts().error, c.accepted ? "" : refusal);
        EXPECT_EQ(logged.contains("Error " + refusal), !c.accepted);
        threaded.stopClient();
    }
}

}  // namespace
}  // namespace corv::sim
