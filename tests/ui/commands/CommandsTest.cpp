#include <gtest/gtest.h>

#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"
#include "support/RunFixture.hpp"
#include "support/StoredParameters.hpp"
#include "ui/commands/AutoRadius.hpp"

namespace corv::ui {
namespace {

using namespace settings;

TEST(AutoRadius, FollowsHeightAndDistanceToTheAirport) {
    struct Case {
        bool onGround;
        double altitude;
        std::optional<double> distance;
        int radius;
    };
    const Case cases[] = {
        {true, 30000, 50.0, 10},         {false, 48001, 2.0, 100}, {false, 18001, 2.0, 40},
        {false, 3000, 9.4, 10},          {false, 3000, 6.9, 10},   {false, 3000, 7.0, 10},
        {false, 3000, 7.2, 8},           {false, 3000, 8.6, 10},   {false, 3000, 12.4, 12},
        {false, 3000, 16.5, 18},         {false, 3000, 32.6, 35},  {false, 3000, 37.0, 40},
        {false, 3000, std::nullopt, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance.value_or(-1));
        EXPECT_EQ(autoRadiusNm({c.onGround, c.altitude, 48000, 18000, c.distance}), c.radius);
    }
}

struct CommandsTest : test::RunFixture, ::testing::Test {
    std::string stored(const char* name) {
        return test::storedValue(appData / "parameters.xml", name);
    }
};

TEST_F(CommandsTest, CallsignIsValidatedUpperCasedAndStoredOnce) {
    struct Case {
        const char* typed;
        const char* message;
        const char* blocked;
    };
    const Case cases[] = {
        {"KLM", "callsign 'KLM' is not valid", ""},
        {"KLM123456", "callsign 'KLM123456' is not valid", ""},
        {"klm1234", "", "KLM1234"},
        {"KLM1234", "callsign 'KLM1234' was already set ...", "KLM1234"},
        {"", "no more blocking of live aircraft 'KLM1234'", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        commands.onEditEnter(BLOCK_CALLSIGN.controlId, c.typed);
        EXPECT_EQ(messages.texts().message, c.message);
        EXPECT_EQ(BLOCK_CALLSIGN.value(), c.blocked);
        EXPECT_EQ(controls.control(BLOCK_CALLSIGN.controlId).text,
                  c.blocked);  // box shows what is stored
    }
    EXPECT_EQ(stored("BLOCK_CALLSIGN"), "");
    EXPECT_TRUE(requests.blockChanged);
    EXPECT_TRUE(logged.contains("callsign 'KLM' is not valid"));
}

TEST_F(CommandsTest, DestinationMustBeACatalogueAirport) {
    catalogue.assign(
        {{airports::AirportCode("EDDF"), airports::IataCode("FRA"), 50.03, 8.57, 364.0f, 0}});
    struct Case {
        const char* typed;
        const char* message;
        const char* destination;
    };
    const Case cases[] = {
        {"EDDFX", "destination 'EDDFX' is not valid", ""},
        {"zzzz", "destination 'ZZZZ' is unknown ...", ""},
        {"eddf", "New destination: EDDF", "EDDF"},
        {"EDDF", "destination 'EDDF' was already set ...", "EDDF"},
        {"", "destination set to empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        commands.onEditEnter(DESTINATION.controlId, c.typed);
        EXPECT_EQ(messages.texts().message, c.message);
        EXPECT_EQ(DESTINATION.value(), c.destination);
    }
    EXPECT_EQ(fake.count("setDestination EDDF"), 1u);
    EXPECT_EQ(stored("DESTINATION"), "EDDF");  // emptying is not saved here
}

TEST_F(CommandsTest, MaxFitHoursAreStoredInTheOlderForm) {
    MAX_FIT_FL.setCurrent(12.0f);
    for (const auto& [index, maxFit] : {std::pair{0, 0}, std::pair{19, 47}, std::pair{10, 11}}) {
        commands.onListSelected(MAX_FIT_FL.controlId, index, "");
        EXPECT_EQ(MAX_FIT.value(), maxFit);
        EXPECT_EQ(stored("MAX_FIT"), std::to_string(maxFit));
    }
}

TEST_F(CommandsTest, LoweringMaxLiveRemovesTheSurplusAtOnce) {
    fake.liveInSim = 25;
    commands.onListSelected(MAX_LIVE_SEL.controlId, 1, "10");
    EXPECT_EQ(MAX_LIVE_SEL.value(), 10);
    EXPECT_EQ(stored("MAX_LIVE_SEL"), "10");
    EXPECT_EQ(fake.count("removeFarthestLive 15"), 1u);
}

TEST_F(CommandsTest, RaisingTheMatchingDepthAsksForARematch) {
    MATCHING_DEPTH.setCurrent(2);
    commands.onListSelected(MATCHING_DEPTH.controlId, 0, "1");
    EXPECT_FALSE(requests.rematchRequested);
    commands.onListSelected(MATCHING_DEPTH.controlId, 3, "4");
    EXPECT_TRUE(requests.rematchRequested);
}

TEST_F(CommandsTest, ScanSwitchRestartsOnlyWhileWaitingForRealTraffic) {
    SCAN_AIRPORTS.setCurrent(false);
    run.awaitingRealTraffic = false;
    EXPECT_TRUE(commands.lf_HandleWMCOMMAND(SCAN_AIRPORTS.controlId));
    EXPECT_EQ(messages.texts().message,
              "Your airports will be scanned at the next start of Corvane_P3D");
    EXPECT_FALSE(run.stopRequested);

    SCAN_LIVERIES.setCurrent(false);
    run.awaitingRealTraffic = true;
    EXPECT_TRUE(commands.lf_HandleWMCOMMAND(SCAN_LIVERIES.controlId));
    EXPECT_TRUE(SCAN_LIVERIES.value());
    EXPECT_EQ(stored("SCAN_LIVERIES"), "true");
    EXPECT_EQ(fake.count("clearLiveryData"), 1u);
    EXPECT_EQ(run.exitReason(), services::ExitReason::NewSettings);
    EXPECT_EQ(run.restartDelaySeconds(), 2);
    EXPECT_TRUE(logged.contains("Your liveries will be scanned"));
}

TEST_F(CommandsTest, CheckBoxesToggleSaveAndWarn) {
    EXPECT_TRUE(commands.lf_HandleWMCOMMAND(COLLISION_USER_AIR.controlId));
    EXPECT_FALSE(COLLISION_USER_AIR.value());
    EXPECT_EQ(controls.control(COLLISION_USER_AIR.controlId).checked, false);
    EXPECT_EQ(stored("COLLISION_USER_AIR"), "false");
    EXPECT_EQ(messages.texts().message,
              "Be aware, user aircraft may collide with (run through) live aircraft in the air");
    EXPECT_FALSE(logged.contains(messages.texts().message));  // check box messages are not logged

    commands.lf_HandleWMCOMMAND(ALWAYS_ON_TOP.controlId);
    EXPECT_TRUE(window.topmost);
    commands.lf_HandleWMCOMMAND(NAV_LIGHTS_WHILE_PARKED.controlId);
    EXPECT_EQ(fake.count("parkedLightsOff"), 1u);
    EXPECT_FALSE(commands.lf_HandleWMCOMMAND(0x7777));
}

TEST_F(CommandsTest, AutoRadiusSwitchKeepsTheManualRadius) {
    RANGE.setCurrent(25);
    fake.user = {52.0, 4.0, 3000.0, false};
    fake.firstAirportDistance = 9.4;
    AUTO_RANGE.setCurrent(false);
    commands.lf_HandleWMCOMMAND(AUTO_RANGE.controlId);  // on: automatic
    EXPECT_EQ(RANGE.value(), 10);
    EXPECT_EQ(controls.control(RANGE.controlId).enabled, false);
    EXPECT_EQ(controls.control(AR_ABOVE_HEIGHT.controlId).enabled, true);

    commands.lf_HandleWMCOMMAND(AUTO_RANGE.controlId);  // off: back to the manual radius
    EXPECT_EQ(RANGE.value(), 25);
    EXPECT_EQ(controls.control(RANGE.controlId).selected, 12);
    EXPECT_EQ(stored("RANGE"), "");  // the radius itself is not saved
}

TEST_F(CommandsTest, InstallPathMustExist) {
    test::writeFile(install / "a-file", "");
    ALL_INSTALL_PATH.setCurrent("/old");
    // A path that runs through a file is as missing as any other.
    for (const std::filesystem::path& missing : {install / "missing", install / "a-file" / "x"}) {
        SCOPED_TRACE(missing);
        commands.onEditEnter(ALL_INSTALL_PATH.controlId, missing.string());
        EXPECT_EQ(messages.texts().message,
                  "This install path does not exist: " + missing.string());
        EXPECT_EQ(controls.control(ALL_INSTALL_PATH.controlId).text, "/old");
        EXPECT_FALSE(run.stopRequested);
    }

    commands.onEditEnter(ALL_INSTALL_PATH.controlId, install.path().string());
    EXPECT_EQ(SIM_INSTALL_PATH.value(), install.path().string());
    EXPECT_EQ(stored("SIM_INSTALL_PATH"), install.path().string());
    EXPECT_EQ(run.exitReason(), services::ExitReason::NewSettings);
    EXPECT_EQ(run.restartDelaySeconds(), 3);
}

TEST_F(CommandsTest, InstallPathPromisesARestartOnlyWhenOneFollows) {
    using services::ExitReason;
    struct Case {
        ExitReason earlier;  // the stop the run already asked for
        bool userClosed;
        bool restarts;
    };
    const Case cases[] = {
        {ExitReason::NewSettings, false, true},
        {ExitReason::ReaderError, true, false},
        {ExitReason::SimWasClosed, false, false},
        {ExitReason::SystemError, false, false},
    };
    const std::string promise = "Install path exists, Corvane_P3D will restart";
    for (const Case& c : cases) {
        SCOPED_TRACE(services::exitReasonText(c.earlier));
        const std::filesystem::path typed = install / services::exitReasonText(c.earlier);
        std::filesystem::create_directories(typed);
        run.resetForNewRun();
        run.userClosedWindow = c.userClosed;
        run.requestStop(c.earlier, 0);
        commands.onEditEnter(ALL_INSTALL_PATH.controlId, typed.string());
        EXPECT_EQ(messages.texts().message, c.restarts ? promise : "");
        EXPECT_EQ(stored("SIM_INSTALL_PATH"), typed.string());  // kept for the next start
    }
    const std::vector<std::string> lines = logged.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), promise), 1);
}

TEST_F(CommandsTest, StaticUpdateLocksTheParkingControlsUntilDone) {
    run.secondCount = 29;
    commands.announceStaticUpdate();
    EXPECT_EQ(messages.texts().message, "Corvane_P3D will update static parking in 1 second ...");
    EXPECT_TRUE(requests.staticRenewalRequested);
    EXPECT_EQ(controls.control(MAX_FIT_FL.controlId).enabled, false);
    EXPECT_EQ(controls.control(status::button::now).enabled, false);
    EXPECT_TRUE(display.snapshot().staticComputationRunning);

    commands.unlockParkingControls();
    EXPECT_EQ(controls.control(MAX_FIT_FL.controlId).enabled, true);
    EXPECT_FALSE(requests.staticComputationRunning);
}

TEST_F(CommandsTest, PickingFromAListRepaintsTheControlsBand) {
    // The labels beside the parking limits change colour with the value at once.
    for (const ChoiceList<std::int32_t>* list : {&MAX_PARK_SEL, &MAX_LIVE_SEL, &AIRP_RANGE}) {
        SCOPED_TRACE(list->name());
        window.repainted.clear();
        commands.onListSelected(list->controlId, 0, "0");
        EXPECT_EQ(list->value(), list->choices().front());
        EXPECT_EQ(window.repainted, std::vector<status::Band>{status::Band::Controls});
    }
    window.repainted.clear();
    commands.onListSelected(MAX_FIT_FL.controlId, 0, "0.5");
    EXPECT_EQ(window.repainted, std::vector<status::Band>{status::Band::Controls});
}

TEST_F(CommandsTest, BlockTakesTheSelectedCallsignOffTheList) {
    CALLSIGN_2_OBJECTID.setCurrent("KLM1234");
    EXPECT_TRUE(commands.lf_HandleWMCOMMAND(status::button::block));
    EXPECT_EQ(BLOCK_CALLSIGN.value(), "KLM1234");
    EXPECT_EQ(stored("BLOCK_CALLSIGN"), "KLM1234");
    EXPECT_EQ(controls.control(BLOCK_CALLSIGN.controlId).text, "KLM1234");
    EXPECT_EQ(controls.control(status::button::unblock).enabled, true);
    EXPECT_EQ(controls.control(status::button::block).enabled, false);
    EXPECT_TRUE(requests.blockChanged);
    EXPECT_EQ(fake.count("dropFromCallsignList KLM1234"), 1u);
}

TEST_F(CommandsTest, TbloButtonWarnsWhenTheFileCannotBeOpened) {
    EXPECT_FALSE(commands.lf_HandleWMCOMMAND(status::button::tbloZip));
    EXPECT_EQ(window.warnings,
              std::vector<std::string>{"Corvane|Could not open File Explorer at tblo.zip."});
}

}  // namespace
}  // namespace corv::ui
