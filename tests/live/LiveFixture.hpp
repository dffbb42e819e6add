#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/ReportIntake.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/RandomSource.hpp"
#include "liveries/ReferenceData.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {

// Records what the intake asked of the life cycle, marking as the life cycle would.
struct RecordedActions final : live::LifeCycleActions {
    void removeFromSim(live::LiveAircraft& ac) override {
        removed.push_back(ac.callsign);
        ac.state = live::AcState::RemovingFromSim;
    }
    void liveryRespawn(live::LiveAircraft& ac) override {
        respawned.push_back(ac.callsign);
        ac.state = live::AcState::LiveryRespawn;
    }
    // By the registration the stand learns the stay under.
    void refreshLearnedStand(live::LiveAircraft& ac) override {
        standsRefreshed.push_back(ac.registration);
    }
    void appendPoint(live::LiveAircraft& ac, const live::PositionBlock& point) override {
        ac.stream.push_back(point);
    }
    std::vector<std::string> removed, respawned, standsRefreshed;
};

// Reference data with a few airlines, types of every class and two registrations.
class LiveFixture : public ::testing::Test {
  protected:
    LiveFixture() {
        xml.sections["ICAO_airlines"] = R"(<ICAO codes="KLM,DLH,BAW,CFE"/>)";
        xml.sections["dbase"] = R"(<d r="PH-BXA" a="KLM" m="B738"/>)"
                                R"(<d r="G-LCYA" a="BAW" o="CFE" m="A320"/>)";
        writeFile(folder / "dbase.xml", xml.text());
        if (!reference.readXml(folder / "dbase.xml")) ADD_FAILURE() << "reference not read";
    }

    realtraffic::TrafficReport report(std::uint32_t hexid, std::string callsign,
                                      std::string_view model, double timestamp,
                                      std::string registration = "") {
        realtraffic::TrafficReport r;
        r.hexid = hexid;
        r.callsign = std::move(callsign);
        r.registration = std::move(registration);
        r.identity.model = reference.internModel(model);
        r.timestamp = timestamp;
        r.altitude = 5000.0;
        r.airborne = true;
        r.groundSpeed = 250.0;
        r.track = 90.0;
        return r;
    }

    void intake(const realtraffic::TrafficReport& r) { live::intakeReport(r, context); }
    live::LiveAircraft* find(std::uint32_t hexid) { return table.findHexid(hexid); }

    LogCapture logged;
    TempFolder folder;
    DbaseXml xml;
    liveries::ReferenceData reference;
    live::LiveTable table;
    RecordedActions actions;
    liveries::UniformRandom random;
    live::IntakeContext context{table, reference, nullptr, {}, std::nullopt, actions, random};
};

}  // namespace corv::test
