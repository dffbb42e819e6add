#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/GreatCircle.hpp"
#include "common/UserErrorException.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/ConnectionCheck.hpp"
#include "sim/SimClientFixture.hpp"
#include "support/Eventually.hpp"

namespace corv::sim {
namespace {

using test::SimClientTest;
using Strings = std::vector<std::string>;

// The number after the call's name, for each call that starts with it.
std::vector<int> idsOf(const Strings& calls, const std::string& prefix, std::size_t field = 1) {
    std::vector<int> ids;
    for (const std::string& call : calls) {
        if (call.rfind(prefix + " ", 0) != 0) continue;
        std::size_t start = 0;
        for (std::size_t i = 0; i < field; ++i)
            start = call.find(' ', start) + 1;
        ids.push_back(std::stoi(call.substr(start)));
    }
    return ids;
}

TEST_F(SimClientTest, DeclaresDefinitionsEventsGroupAndSubscriptionsInTheirOrder) {
    client.makeConnection();
    ASSERT_TRUE(client.open());
    const Strings& calls = sim->calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "open Corvane_P3D");

    // Replies are packed in this order, so every variable, unit and type counts.
    EXPECT_EQ(sim->callsStartingWith("define"),
              (Strings{"define 407 TITLE () stringV",
                       "define 408 ATC MODEL () string32",
                       "define 409 SIM ON GROUND (Bool) int64",
                       "define 402 Plane Latitude (degree) float64",
                       "define 402 Plane Longitude (degree) float64",
                       "define 402 Plane Pitch degrees (radians) float64",
                       "define 402 Plane Bank degrees (radians) float64",
                       "define 402 Plane Heading degrees true (radians) float64",
                       "define 402 Plane Altitude (feet) float64",
                       "define 402 Vertical Speed (feet per second) float64",
                       "define 402 Airspeed True (knots) float64",
                       "define 403 Plane Latitude (degree) float64",
                       "define 403 Plane Longitude (degree) float64",
                       "define 403 Plane Pitch degrees (radians) float64",
                       "define 403 Plane Bank degrees (radians) float64",
                       "define 403 Plane Heading degrees true (radians) float64",
                       "define 403 Plane Altitude (feet) float64",
                       "define 403 Indicated Altitude (feet) float64",
                       "define 403 Plane Alt Above Ground (feet) float64",
                       "define 403 Ground Velocity (knots) float64",
                       "define 403 ZULU TIME (Seconds) int64",
                       "define 403 ZULU DAY OF YEAR (Number) int64",
                       "define 403 ZULU YEAR (Number) int64",
                       "define 403 LIGHT STATES (Mask) int64",
                       "define 405 Static CG to Ground (feet) float64",
                       "define 405 Static Pitch (radians) float64",
                       "define 406 Light On States (Mask) int64",
                       "define 404 Plane Alt Above Ground (feet) float64",
                       "define 404 Ground Altitude (feet) float64",
                       "define 404 SIM ON GROUND (Bool) int64",
                       "define 404 ATC ID () string32",
                       "define 401 SPOILERS HANDLE POSITION (percent) float64",
                       "define 401 GENERAL ENG THROTTLE LEVER POSITION:1 (percent) float64",
                       "define 401 GENERAL ENG THROTTLE LEVER POSITION:2 (percent) float64"}));
    EXPECT_EQ(idsOf(calls, "map"), (std::vector<int>{220, 221, 222, 223, 218, 219, 208, 207, 211,
                                                     209, 210, 213, 212, 214, 215, 216, 217}));
    EXPECT_EQ(idsOf(calls, "group", 2), (std::vector<int>{208, 207, 211, 209, 210, 213, 212, 214,
                                                          218, 219, 220, 222, 223, 215, 216, 217}));
    EXPECT_EQ(idsOf(calls, "subscribe"), (std::vector<int>{201, 202, 203, 205, 206, 204}));

    // Group and priority come after the events are mapped, subscriptions last.
    const auto at = [&](const std::string& line) {
        return std::find(calls.begin(), calls.end(), line) - calls.begin();
    };
    EXPECT_LT(at("map 217 FREEZE_ATTITUDE_SET"), at("group 301 208 true"));
    EXPECT_LT(at("group 301 217 true"), at("priority 301 1"));
    EXPECT_LT(at("priority 301 1"), at("subscribe 201 Sim"));
    EXPECT_EQ(calls.back(), "subscribe 204 Frame");
}

TEST_F(SimClientTest, HandshakeWaitsForTheFlightThenAsksGroundStateAndTheUserAircraft) {
    sim->replies[request::userState] = test::userStateData(52.3, 4.76);
    sim->replies[request::userOnGround] = DefinitionWriter().int64(1).bytes();
    sim->replies[request::userTitle] = DefinitionWriter().stringV("Boeing 747-400 KLM").bytes();
    sim->replies[request::userModel] = DefinitionWriter().string32("B744").bytes();
    sim->waiting.push_back(EventMessage{event::sim, 0});
    sim->waiting.push_back(EventMessage{event::sim, 1});

    ASSERT_TRUE(client.handshake());

    const Strings requests = sim->callsStartingWith("request");
    ASSERT_GE(requests.size(), 4u);
    EXPECT_EQ(requests.front(), "request 108 409 0 second");
    const auto title = std::find(requests.begin(), requests.end(), "request 106 407 0 once");
    ASSERT_NE(title, requests.end());
    EXPECT_EQ(*(title + 1), "request 107 408 0 once");
    EXPECT_TRUE(std::all_of(requests.begin() + 1, title,
                            [](const std::string& r) { return r == "request 109 403 0 once"; }));
    EXPECT_EQ(pauses.front(), std::chrono::milliseconds(100));
    EXPECT_TRUE(run.secondTick);
    EXPECT_TRUE(client.userAircraft().onGround);
    EXPECT_EQ(client.userIdentity().title, "Boeing 747-400 KLM");
    EXPECT_EQ(client.userIdentity().model, "B744");
    EXPECT_EQ(display.snapshot().userTitle, "Boeing 747-400 KLM");
}

TEST_F(SimClientTest, HandshakeEndsWithFailureWhenAStopIsRequested) {
    run.requestStop(services::ExitReason::UserClosedSim, 0);
    EXPECT_FALSE(client.handshake());
    EXPECT_TRUE(sim->callsStartingWith("request").empty());
}

TEST_F(SimClientTest, OpenMessageShowsTheCleanedSimulatorName) {
    settings::SIM_INSTALL_PATH.setCurrent("D:\\Prepar3D V5");
    client.expectMajorVersion("6");
    deliver(OpenMessage{"Lockheed Martin\xC2\xAE Prepar3D\xC2\xAE v5", 5, 3, 17, 28160});
    EXPECT_TRUE(logged.contains("Lockheed Martin Prepar3D v5 (5.3.17.28160) connected"));
    EXPECT_TRUE(display.snapshot().simConnected);
    EXPECT_EQ(display.snapshot().simDisplayText, "Lockheed Martin Prepar3D v5 (5.3.17.28160)");
}

TEST_F(SimClientTest, OpenMessageWithoutANameIsOnlyLogged) {
    deliver(OpenMessage{"", 5, 0, 0, 0});
    EXPECT_TRUE(logged.contains("! Simulator name empty?"));
    EXPECT_FALSE(display.snapshot().simConnected);
}

TEST(ConnectionCheck, RefusesMsfsAndTheWrongPrepar3dVersion) {
    const auto refusal = [](auto check) -> std::string {
        try {
            check();
        } catch (const UserErrorException& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(refusal([] {
                  simulatorDisplayText({"Kitty-Hawk!", 1, 0, 0, 0});
              }),
              "78: KittyHawk, (MSFS) not being P3D connects ... ?");
    EXPECT_EQ(refusal([] {
                  simulatorDisplayText({"SunRise", 1, 0, 0, 0});
              }),
              "78: SunRise, (MSFS) not being P3D connects ... ?");

    struct Case {
        const char* display;
        const char* installPath;
        int expected;
        bool accepted;
    };
    for (const Case& c : {Case{"Prepar3D v5 (5.3.0.0)", "C:\\P3D V5", 6, true},
                          Case{"Prepar3D v5 (5.3.0.0)", "C:\\Sim", 5, true},
                          Case{"Prepar3D v5 (5.3.0.0)", "C:\\Sim", 6, false},
                          Case{"Prepar3D v6 (6.0.0.0)", "C:\\P3Dv6", 5, true},
                          Case{"Prepar3D V5 (5.3.0.0)", "C:\\P3D v5", 5, false}}) {
        const std::string result =
            refusal([&] { checkSimulatorVersion(c.display, c.installPath, c.expected); });
        EXPECT_EQ(result == "accepted", c.accepted) << c.display << " / " << c.installPath;
        if (!c.accepted) {
            EXPECT_EQ(result, fmt::format("78: wrong P3D version '{}' connects ... ?)", c.display));
        }
    }
}

TEST_F(SimClientTest, EveryNewFlightTriggerEndsTheRunOnceWithNewFlight) {
    deliver(EventMessage{event::positionChanged, 0});
    EXPECT_TRUE(logged.contains("==> User ac position changed"));
    EXPECT_TRUE(run.stopRequested);
    EXPECT_EQ(run.exitReason(), services::ExitReason::NewFlight);
    EXPECT_EQ(run.restartDelaySeconds(), 30);

    // A second trigger, and a failing request after it, keep the first reason.
    deliver(FilenameMessage{0, "flight.fxml"});
    sim->failing.insert("request 109");
    client.requestUserState();
    EXPECT_TRUE(logged.contains("==> SimConnect: New file event"));
    EXPECT_EQ(run.exitReason(), services::ExitReason::NewFlight);
    EXPECT_EQ(run.restartDelaySeconds(), 30);
    EXPECT_TRUE(client.hasError());
}

TEST_F(SimClientTest, FailedRequestSetsTheErrorAndEndsTheRunForARestart) {
    sim->failing.insert("request 109");
    client.requestUserState();
    EXPECT_TRUE(logged.contains("==> SimConnect request user ac position fails"));
    EXPECT_TRUE(logged.contains("SimConnect request error"));
    EXPECT_EQ(messages.texts().message, "SimConnect request error");
    EXPECT_TRUE(client.hasError());
    EXPECT_EQ(run.exitReason(), services::ExitReason::SimconnectError);
    EXPECT_EQ(run.restartDelaySeconds(), 9);

    // With the error set nothing more is asked of the simulator.
    sim->calls.clear();
    client.requestUserState();
    client.requestNearbyAircraft();
    EXPECT_TRUE(sim->calls.empty());
}

TEST_F(SimClientTest, NearbyAircraftAreAskedForWithinTheRadiusSetting) {
    // As read from the settings file, chosen in the list or set by the automatic radius.
    for (const int nauticalMiles : {10, 40, 100}) {
        settings::RANGE.setCurrent(nauticalMiles);
        sim->calls.clear();
        client.requestNearbyAircraft();
        EXPECT_EQ(
            sim->callsStartingWith("bytype"),
            (std::vector<std::string>{fmt::format("bytype {} {} {}", request::nearbyAircraft,
                                                  define::nearbyAircraft, nauticalMiles * 1852)}));
    }
}

TEST_F(SimClientTest, FailedRequestWhileAStopIsRequestedKeepsTheEarlierReason) {
    run.requestStop(services::ExitReason::UserClosedSim, 0);
    sim->failing.insert("bytype");
    client.requestNearbyAircraft();
    EXPECT_TRUE(client.hasError());
    EXPECT_EQ(run.exitReason(), services::ExitReason::UserClosedSim);
    EXPECT_EQ(run.restartDelaySeconds(), 0);
}

TEST_F(SimClientTest, TeleportIsAJumpOfMoreThanTenNauticalMiles) {
    // On the equator the haversine gives exactly 10 nm for a jump of 10 nm.
    const common::GeoPoint start{0.0, 8.0};
    struct Case {
        double jumpNm;
        bool teleport;
    };
    for (const Case& c : {Case{10.0, false}, Case{10.01, true}}) {
        run.resetForNewRun();
        client.resetRunState();
        userAt(start.latitude, start.longitude);  // the first reply of a run is never one
        EXPECT_FALSE(run.stopRequested);
        const common::GeoPoint to = common::destinationPoint(start, 0.0, c.jumpNm);
        userAt(to.latitude, to.longitude);
        EXPECT_EQ(run.stopRequested.load(), c.teleport) << c.jumpNm;
        EXPECT_EQ(run.exitReason(),
                  c.teleport ? services::ExitReason::NewFlight : services::ExitReason::NotYetSet);
    }
}

TEST_F(SimClientTest, UserStateReplyKeepsTheStateAndTheSimulatorTime) {
    deliverData(request::userState, test::userStateData(52.3, 4.76, -20.0, 2024, 60, 3600), 7);
    const UserAircraftState user = client.userAircraft();
    EXPECT_DOUBLE_EQ(user.latitude, 52.3);
    EXPECT_DOUBLE_EQ(user.longitude, 4.76);
    EXPECT_DOUBLE_EQ(user.altitudeFeet, 0.0);  // below sea level counts as 0
    EXPECT_DOUBLE_EQ(user.groundVelocity, 140.0);
    EXPECT_EQ(user.lightStates, 5);
    EXPECT_EQ(client.userObjectId(), 7u);
    EXPECT_EQ(client.simulatorUtcSeconds(), 1709168400);  // 29 Feb 2024 01:00 UTC
}

TEST_F(SimClientTest, OnGroundReplyTicksTheSecondAndCountsOnlyWithAPosition) {
    deliverData(request::userOnGround, DefinitionWriter().int64(0).bytes());
    EXPECT_TRUE(run.secondTick.exchange(false));
    EXPECT_FALSE(client.userGroundStateKnown());

    userAt(52.3, 4.76);
    deliverData(request::userOnGround, DefinitionWriter().int64(0).bytes());
    EXPECT_TRUE(run.secondTick);
    EXPECT_TRUE(client.userGroundStateKnown());
    EXPECT_FALSE(client.userAircraft().onGround);
}

TEST_F(SimClientTest, SimEventSwitchesTheRunningFlagAndQuitClearsIt) {
    deliver(EventMessage{event::sim, 1});
    EXPECT_TRUE(client.flightRunning());
    EXPECT_TRUE(display.snapshot().simRunning);
    deliver(QuitMessage{});
    EXPECT_FALSE(client.flightRunning());
    deliver(EventMessage{event::sim, 1});
    deliver(EventMessage{event::sim, 2});
    EXPECT_FALSE(client.flightRunning());
}

TEST_F(SimClientTest, ExceptionsAreLoggedShownOrThrownByTheirCode) {
    deliver(ExceptionMessage{exception::unrecognizedId, 1, 0});  // no user position yet
    deliver(ExceptionMessage{exception::invalidDataSize, 1, 0});
    deliver(ExceptionMessage{exception::loadFlightplanFailed, 1, 0});
    deliver(ExceptionMessage{42, 1, 0});
    deliver(ExceptionMessage{exception::tooManyObjects, 1, 0});
    deliver(OtherMessage{12});
    deliver(OtherMessage{99});
    for (const char* line :
         {"SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE",
          "==> SimConnect exception: load flight plan failed", "==> SIMCONNECT_EXCEPTION #42",
          "SimConnect: too many objects (max 1000)", "! Unknown Dispatch dwID 99"}) {
        EXPECT_TRUE(logged.contains(line)) << line;
    }
    EXPECT_FALSE(logged.contains("==> SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID"));
    EXPECT_FALSE(logged.contains("! Unknown Dispatch dwID 12"));
    EXPECT_EQ(messages.texts().message, "SimConnect: too many objects (max 1000)");

    try {
        deliver(ExceptionMessage{exception::versionMismatch, 1, 3});
        ADD_FAILURE() << "no user error";
    } catch (const UserErrorException& e) {
        EXPECT_STREQ(e.what(), "95: SimConnect Version Mismatch, dwIndex: 3");
    }
}

TEST_F(SimClientTest, ThreadConnectsDispatchesClosesAndNoticesALostSimulator) {
    int connections = 0;
    sim::SimClient threaded(SimClientContext{run,
                                             messages,
                                             display,
                                             window,
                                             catalogue,
                                             reference,
                                             folder.path(),
                                             [](std::chrono::milliseconds) {},
                                             {},
                                             {}},
                            [&connections] {
                                auto made = std::make_unique<test::ScriptedSimulator>();
                                made->waiting.push_back(EventMessage{event::sim, 1});
                                // The second simulator goes away: its dispatch fails.
                                if (++connections == 2) made->failing.insert("dispatch");
                                return made;
                            });
    threaded.expectMajorVersion("6");
    threaded.startClient();
    ASSERT_TRUE(test::eventually([&] { return threaded.flightRunning(); }))
        << "the first simulator's running flight was never dispatched";
    EXPECT_EQ(messages.texts().message, "Waiting for Prepar3Dv6 ...");
    threaded.stopClient();
    // A close on request is no lost simulator: the run goes on. Checked before the second
    // connection starts, whose failing dispatch ends the run.
    ASSERT_TRUE(test::eventually([&] { return logged.contains("SimConnect closed ok"); }));
    EXPECT_FALSE(run.stopRequested);
    threaded.startClient();  // joins the first thread before the second starts

    ASSERT_TRUE(test::eventually([&] { return run.stopRequested.load(); }))
        << "the lost simulator never ended the run";
    EXPECT_EQ(run.exitReason(), services::ExitReason::SimWasClosed);
    EXPECT_EQ(run.restartDelaySeconds(), 0);
    EXPECT_FALSE(threaded.flightRunning());
}

}  // namespace
}  // namespace corv::sim
