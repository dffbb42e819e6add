#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "airports/AirportCatalogue.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "sim/ScriptedSimulator.hpp"
#include "sim/SimClient.hpp"
#include "sim/SimIds.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/QuietWindow.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {

// A simulator client on a scripted simulator, driven message by message without its thread.
// Every pause of the handshake dispatches what the simulator has waiting instead of sleeping.
class SimClientTest : public ::testing::Test {
  protected:
    SimClientTest() {
        resetParameters();
        DbaseXml xml;
        xml.sections["aircrafts"] = R"(<aircraft types="B738,A320,B744,E190,C172,EC35"/>)";
        xml.sections["wingspans"] = R"(<wingspan type="A320" meters="34.10"/>)"
                                    R"(<wingspan type="B744" meters="64.44"/>)"
                                    R"(<wingspan type="E190" meters="28.72"/>)";
        writeFile(folder / "dbase.xml", xml.text());
        reference.readXml(folder / "dbase.xml");
        client.expectMajorVersion("5");
        client.makeConnection();
        client.open();
        sim->calls.clear();
    }
    ~SimClientTest() override { resetParameters(); }

    void deliver(const sim::SimMessage& message) { client.handleMessage(message); }
    void deliverData(sim::RequestId request, std::vector<std::byte> data,
                     sim::ObjectId object = 1) {
        deliver(sim::ObjectDataMessage{request, object, 0, std::move(data)});
    }
    void userAt(double latitude, double longitude) {
        deliverData(sim::request::userState, userStateData(latitude, longitude));
    }
    std::vector<sim::SimNotice> notices() { return client.notices().takeAll(); }

    LogCapture logged;
    TempFolder folder;
    services::RunState run;
    services::MessageLine messages{[] {}};
    status::DisplayState display;
    QuietWindow window;
    airports::AirportCatalogue catalogue;
    liveries::ReferenceData reference;
    ScriptedSimulator* sim = nullptr;
    std::vector<std::chrono::milliseconds> pauses;
    sim::SimClient client{sim::SimClientContext{run,
                                                messages,
                                                display,
                                                window,
                                                catalogue,
                                                reference,
                                                folder.path(),
                                                [this](std::chrono::milliseconds pause) {
                                                    pauses.push_back(pause);
                                                    client.dispatchWaiting();
                                                },
                                                {},
                                                {}},
                          [this] {
                              auto made = std::make_unique<ScriptedSimulator>();
                              sim = made.get();
                              return made;
                          }};
};

}  // namespace corv::test
