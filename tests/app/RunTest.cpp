#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ParameterTable.hpp"
#include "support/RunFixture.hpp"

namespace corv::app {
namespace {

using namespace std::chrono_literals;

struct RunTest : test::RunFixture, ::testing::Test {
    // Runs one tick in which the simulator's second has passed; returns the calls it made.
    std::vector<std::string> secondTick() {
        fake.calls.clear();
        run.secondTick = true;
        EXPECT_TRUE(runner.runTick());
        return fake.calls;
    }
};

bool contains(const std::vector<std::string>& calls, const std::string& name) {
    return std::find(calls.begin(), calls.end(), name) != calls.end();
}

TEST_F(RunTest, SlowTasksNeverShareASecondWithTheFiveSecondTasks) {
    for (int second = 1; second <= 122; ++second) {
        const auto calls = secondTick();
        SCOPED_TRACE(second);
        ASSERT_EQ(run.secondCount, second);
        const bool fiveSecond = second % 5 == 0;
        EXPECT_EQ(contains(calls, "setReferencePositionFromUser"), fiveSecond);
        EXPECT_EQ(contains(calls, "parkAirportTick(false)"), !fiveSecond && second % 16 == 0);
        EXPECT_EQ(contains(calls, "runWatchdog"), !fiveSecond && second % 59 == 0);
        EXPECT_EQ(contains(calls, "checkParkedVersusStatic"), !fiveSecond && second % 61 == 0);
    }
}

TEST_F(RunTest, TicksWithoutASecondOnlyMoveTheTraffic) {
    fake.calls.clear();
    EXPECT_TRUE(runner.runTick());
    EXPECT_EQ(fake.calls, std::vector<std::string>{"handleAddingStack"});
}

TEST_F(RunTest, PausedFlightIsLoggedOnceAndResumedAtTheNextSecond) {
    fake.flightIsRunning = false;
    for (int tick = 0; tick < 250; ++tick)
        ASSERT_TRUE(runner.runTick());
    EXPECT_EQ(fake.count("clearQueues"), 1u);
    EXPECT_EQ(fake.count("refuseTraffic"), 1u);
    EXPECT_EQ(fake.count("sendUserPosition"), 2u);  // once a second
    EXPECT_EQ(fake.count("processSimNotices"), 250u);

    fake.flightIsRunning = true;
    secondTick();
    EXPECT_EQ(fake.count("acceptTraffic"), 1u);
    const auto lines = logged.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with(" Flight not running")) << lines[0];
    EXPECT_TRUE(lines[1].ends_with(" Flight resumed")) << lines[1];

    run.stopRequested = true;
    fake.flightIsRunning = false;
    EXPECT_FALSE(runner.runTick());
}

TEST_F(RunTest, FlushAndBlockRequestsAreConsumedOnce) {
    requests.flushStaticRequested = true;
    requests.blockChanged = true;
    settings::BLOCK_CALLSIGN.setCurrent("KLM1234");
    const auto first = secondTick();
    const auto second = secondTick();
    EXPECT_TRUE(contains(first, "removeAllStatic"));
    EXPECT_TRUE(contains(first, "removeBlockedCallsign KLM1234"));
    EXPECT_FALSE(contains(second, "removeAllStatic"));
    EXPECT_FALSE(contains(second, "removeBlockedCallsign KLM1234"));
    EXPECT_TRUE(settings::INITIAL_LOAD_ONLY.value());
    EXPECT_EQ(controls.control(settings::INITIAL_LOAD_ONLY.controlId).checked, true);
    EXPECT_FALSE(requests.blockChanged);
}

TEST_F(RunTest, ParkingBandShowsEachNewCountOfQueuedStatics) {
    requests.staticComputationRunning = true;
    for (const int queued : {5, 4, 0}) {
        fake.staticQueued = queued;
        window.repainted.clear();
        secondTick();
        EXPECT_EQ(display.snapshot().parking.staticQueued, queued);
        EXPECT_EQ(
            std::count(window.repainted.begin(), window.repainted.end(), status::Band::Parking), 1);
    }
}

TEST_F(RunTest, WaitingMessageGoesOnceRealTrafficHasConnected) {
    ctx.realTrafficLocation = realtraffic::RealTrafficLocation::Local;
    const std::string waiting = "Waiting for RealTraffic to connect to Corvane_P3D ...";
    const std::string userMessage = "Corvane_P3D's window will remain visible";
    // What the user saw last while the connection came: only the waiting message goes.
    for (const auto& shown : {std::vector{waiting}, std::vector{waiting, userMessage}}) {
        fake.whileAwaitingRealTraffic = [&] {
            for (const std::string& text : shown)
                messages.showMessage(text, false);
        };
        ASSERT_TRUE(runner.startRun());
        EXPECT_EQ(messages.texts().message, shown.back() == waiting ? "" : userMessage);
    }
}

struct ClosingCase {
    services::ExitReason reason;
    int delay;
    const char* posted;
    bool scansSwitchedOff;
    std::chrono::milliseconds waited;  // besides the 500 ms for the receivers
};

class ClosingDownTest : public RunTest, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingDownTest, RestartsOrQuitsAsTheReasonSays) {
    const ClosingCase& c = GetParam();
    settings::SCAN_LIVERIES.setCurrent(true);
    settings::SCAN_AIRPORTS.setCurrent(true);
    settings::DESTINATION.setCurrent("EHAM");
    settings::BLOCK_CALLSIGN.setCurrent("KLM1234");
    settings::CALLSIGN_2_OBJECTID.setEntries({{"KLM1234", 7}, {"DLH5A", 9}});
    settings::CALLSIGN_2_OBJECTID.setCurrent("DLH5A");
    run.requestStop(c.reason, c.delay);

    runner.lf_closingDown();

    EXPECT_EQ(window.posted, std::vector<std::string>{c.posted});
    EXPECT_TRUE(logged.contains(std::string("Exiting: ") +
                                std::string(services::exitReasonText(c.reason))));
    EXPECT_EQ(sleptInTotal(), 500ms + c.waited);
    EXPECT_EQ(settings::SCAN_LIVERIES.value(), !c.scansSwitchedOff);
    EXPECT_EQ(settings::SCAN_AIRPORTS.value(), !c.scansSwitchedOff);
    EXPECT_EQ(settings::DESTINATION.value(), "");
    // No callsign of this run is offered or blocked in the next.
    EXPECT_EQ(settings::BLOCK_CALLSIGN.value(), "");
    EXPECT_TRUE(settings::CALLSIGN_2_OBJECTID.entries().empty());
    EXPECT_EQ(settings::CALLSIGN_2_OBJECTID.value(), "");
    const bool restarted = std::string(c.posted) == "start";
    EXPECT_EQ(run.isRestart.load(), restarted);
    if (restarted) {
        EXPECT_FALSE(run.stopRequested);  // the next run starts clean
        EXPECT_EQ(run.exitReason(), services::ExitReason::NotYetSet);
    }
    if (c.delay > 0 && restarted) {
        EXPECT_TRUE(logged.contains(fmt::format("Restarting after {} seconds", c.delay)));
        EXPECT_TRUE(logged.contains("Restart countdown finished"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ClosingDownTest,
    ::testing::Values(ClosingCase{services::ExitReason::ReaderError, 15, "start", true, 15s},
                      ClosingCase{services::ExitReason::SimconnectError, 9, "start", true, 9s},
                      ClosingCase{services::ExitReason::NewSettings, 3, "start", false, 3s},
                      ClosingCase{services::ExitReason::SimWasClosed, 0, "quit 0", false, 0s},
                      ClosingCase{services::ExitReason::NewFlight, 30, "quit 0", false, 10s},
                      ClosingCase{services::ExitReason::UserClosedSim, 0, "quit 0", false, 0s},
                      ClosingCase{services::ExitReason::NewVersion, 0, "quit 0", false, 0s}));

TEST_F(RunTest, SystemErrorWaitsUntilTheWindowIsClosed) {
    run.requestStop(services::ExitReason::SystemError, 0);
    int pauses = 0;
    onSleep = [&] {
        if (++pauses == 4) run.windowClosed = true;
    };
    runner.lf_closingDown();
    EXPECT_EQ(window.posted, std::vector<std::string>{"quit 0"});
    EXPECT_EQ(sleptInTotal(), 2000ms);
    EXPECT_TRUE(logged.contains("User closed Corvane_P3D"));
}

TEST_F(RunTest, CloseClickedDuringTheCountdownQuits) {
    run.requestStop(services::ExitReason::ReaderError, 15);
    onSleep = [&] { run.userClosedWindow = true; };
    runner.lf_closingDown();
    EXPECT_EQ(window.posted, std::vector<std::string>{"quit 0"});
}

TEST_F(RunTest, MissingDocsFolderShowsTheUserErrorUntilClosed) {
    std::filesystem::remove(install / "docs");
    onSleep = [&] { run.windowClosed = true; };
    runner.lf_startUpCorvane();
    EXPECT_EQ(messages.texts().error, "41: Corvane_P3D must be run from the Corvane_P3D folder!");
    EXPECT_EQ(run.exitReason(), services::ExitReason::SystemError);
    EXPECT_EQ(window.posted, std::vector<std::string>{"quit 0"});
    EXPECT_EQ(fake.count("checkForUpdates"), 0u);  // no data file was read
}

TEST_F(RunTest, WithoutInstallPathTheUserTypesOneAndTheProgramRestarts) {
    std::filesystem::create_directories(install / "P3D v5" / "Scenery");
    onSleep = [&] {
        if (window.posted.empty() && run.exitReason() == services::ExitReason::SystemError) {
            commands.onEditEnter(settings::ALL_INSTALL_PATH.controlId,
                                 (install / "P3D v5").string());
        }
    };
    runner.lf_startUpCorvane();

    EXPECT_TRUE(logged.contains("P3D not detected?"));
    EXPECT_TRUE(
        logged.contains("Error 151: No P3D install path detected. Type the full Install Path "
                        "above, then press Enter"));
    EXPECT_TRUE(logged.contains("Install path exists, Corvane_P3D will restart"));
    EXPECT_EQ(window.posted, std::vector<std::string>{"start"});
    EXPECT_EQ(settings::SIM_INSTALL_PATH.value(), (install / "P3D v5").string());
}

TEST_F(RunTest, ConfiguredLiveryFolderLetsTheStartGoOnWithoutInstallPath) {
    test::writeFile(appData / "parameters.xml",
                    "<root><parameters><parameter name=\"lfolder0\" value=\"/liveries\"/>"
                    "<parameter name=\"PROGRAM_VERSION\" value=\"12.6.0\"/></parameters></root>");
    fake.handshakeSucceeds = false;
    runner.lf_startUpCorvane();
    EXPECT_TRUE(logged.contains("P3D not detected?"));
    EXPECT_EQ(messages.texts().error, "");
    EXPECT_TRUE(fake.count("handshake") == 1);
    EXPECT_TRUE(logged.contains("Exiting: USER CLOSED SIM"));
}

TEST_F(RunTest, BadDataFilesEndTheStartWithTheErrorShownAndNoPlainFileLeft) {
    struct Case {
        const char* file;
        bool damage;  // else remove
        std::string error;
    };
    const Case cases[] = {
        {"dbase.enc", false, (install / "input" / "dbase.enc").string() + " not available"},
        {"dbase.enc", true, (install / "input" / "dbase.enc").string() + " stream decrypt failed"},
        {"airports.enc", true, "Decryption failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        installDataFiles();
        const auto file = install / "input" / c.file;
        if (c.damage) {
            std::string bytes = test::readFile(file);
            bytes[bytes.size() / 2] ^= 0x5A;
            test::writeFile(file, bytes);
        } else {
            std::filesystem::remove(file);
        }
        run.resetForNewRun();
        messages.clearAll();
        ctx.referenceDataRead = false;
        onSleep = [&] { run.windowClosed = true; };

        runner.lf_startUpCorvane();

        EXPECT_EQ(messages.texts().error, c.error);
        EXPECT_EQ(run.exitReason(), services::ExitReason::SystemError);
        EXPECT_FALSE(std::filesystem::exists(install / "input" / "dbase.xml"));
        EXPECT_FALSE(std::filesystem::exists(install / "input" / "airports.xml"));
    }
}

TEST_F(RunTest, ProductionModeReadsTheDataAndQuits) {
    run.productionMode = true;
    settings::SIM_INSTALL_PATH.setCurrent("/p3d");
    test::writeFile(appData / "parameters.xml",
                    "<root><parameters><parameter name=\"SIM_INSTALL_PATH\" value=\"/p3d\"/>"
                    "</parameters></root>");
    runner.lf_startUpCorvane();
    EXPECT_TRUE(logged.contains("production"));
    EXPECT_TRUE(logged.contains("Exiting: USER CLOSED SIM"));
    EXPECT_EQ(window.posted, std::vector<std::string>{"quit 0"});
    EXPECT_EQ(fake.count("startClient"), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(install / "airports" / "learned" / "stock"));
}

TEST_F(RunTest, FullStartRunsEveryStepInOrder) {
    settings::SIM_INSTALL_PATH.setCurrent("/p3d v6");
    test::writeFile(appData / "parameters.xml",
                    "<root><parameters><parameter name=\"SIM_INSTALL_PATH\" value=\"/p3d v6\"/>"
                    "<parameter name=\"PROGRAM_VERSION\" value=\"12.6.0\"/></parameters></root>");
    std::filesystem::create_directories(appData / "InsideSystems");
    test::writeFile(appData / "InsideSystems" / "RealTraffic.jar", "");
    // The first second of the cycle ends the run.
    fake.flightIsRunning = true;
    bool stopped = false;
    onSleep = [&] {
        if (!stopped && fake.count("handleAddingStack") > 0) {
            stopped = run.requestStop(services::ExitReason::SimWasClosed, 0);
            run.secondTick = true;  // the run notices the stop at the next second
        }
    };
    runner.lf_startUpCorvane();

    const std::vector<std::string> expectedOrder = {"checkForUpdates",
                                                    "processScannedLiveries",
                                                    "scanAddonAirports",
                                                    "createFlightPlanFolder",
                                                    "readParkAirportList",
                                                    "reserveCapacity",
                                                    "expectMajorVersion 6",
                                                    "startClient",
                                                    "handshake",
                                                    "startPositionServer 10747",
                                                    "waitForFirstConnection",
                                                    "sendSimTime",
                                                    "refuseTraffic",
                                                    "startReceivers",
                                                    "sendUserPosition",
                                                    "setReferencePositionFromUser",
                                                    "parkAirportTick(true)",
                                                    "runWatchdog",
                                                    "acceptTraffic",
                                                    "handleAddingStack",
                                                    "stopClient",
                                                    "stopReceivers",
                                                    "stopPositionServer"};
    auto from = fake.calls.begin();
    for (const std::string& step : expectedOrder) {
        from = std::find(from, fake.calls.end(), step);
        ASSERT_NE(from, fake.calls.end()) << "missing or out of order: " << step;
    }
    EXPECT_TRUE(logged.contains("    6 ICAO model codes"));
    EXPECT_TRUE(logged.contains("    2 airports read"));
    EXPECT_FALSE(std::filesystem::exists(install / "input" / "dbase.xml"));
    EXPECT_FALSE(std::filesystem::exists(install / "input" / "airports.xml"));
    EXPECT_TRUE(logged.contains("RealTraffic detected at this PC"));
    EXPECT_TRUE(logged.contains("Exiting: SIM WAS CLOSED"));
    EXPECT_EQ(window.posted, std::vector<std::string>{"quit 0"});
}

}  // namespace
}  // namespace corv::app
