#include <sys/wait.h>

#include <algorithm>
#include <chrono>

#include <pugixml.hpp>

#include "airports/AirportFileWriter.hpp"
#include "airports/AirportFilesFixture.hpp"
#include "airports/ReadApf.hpp"
#include "airports/SaveLearned.hpp"
#include "settings/ParameterTable.hpp"
#include "support/KillDuringSaves.hpp"

namespace corv::airports {
namespace {

namespace fs = std::filesystem;

const std::string archive = test::airportFile(
    R"(<parkpos id="A1" latitude="52.3" longitude="4.76" radius="20">)"
    R"(<opt airl="KLM" type="B738" reg="PH-BXA" day="1" hh="10:12" cs="KLM1"/></parkpos>)"
    R"(<parkpos id="B2" latitude="52.31" longitude="4.76" radius="15"/>)"
    R"(<parkpos id="C3" latitude="52.32" longitude="4.76" radius="15"/>)");

class SaveLearnedTest : public test::AirportFilesTest {
  protected:
    SaveLearnedTest() {
        catalogue.assign({test::catalogueAirport("EHAM", 1)});
        std::string orbx = archive;
        orbx.replace(orbx.find("value=\"stock\""), 13, "value=\"ORBX Global\"");
        put("airports/my_thirdparty/EHAM.xml", orbx);
    }
    void load(LoadedAirport& airport) {
        airport.code = AirportCode("EHAM");
        EXPECT_EQ(gf_readApf("airports/my_thirdparty/EHAM.xml", airport, context), "");
    }
    static OccupancyEntry learnedEntry(std::string registration, HalfHourSet hours) {
        OccupancyEntry entry;
        entry.identity = {1, 0, 2, false, false};
        entry.registration = std::move(registration);
        entry.callsign = "KLM7";
        entry.callsign2 = "KLM8";
        entry.hours = hours;
        entry.day = 5;
        entry.origin = learned;
        entry.real = false;
        entry.cpl = true;
        return entry;
    }
    const fs::path learnedFile = work / "airports/learned/thirdparty/ORBX Global/EHAM.xml";
};

TEST_F(SaveLearnedTest, WhatIsSavedReadsBackAsItWas) {
    LoadedAirport airport;
    load(airport);
    ASSERT_EQ(airport.stands.size(), 3U);
    ASSERT_EQ(airport.stands[0].entries.size(), 1U);
    airport.stands[0].entries.push_back(learnedEntry("PH-BXB", HalfHourSet::range(3, 9)));
    airport.stands[0].entries.back().index = 2;
    // A disabled entry, one without registration and one that is no single run are dropped.
    airport.stands[0].entries.push_back(learnedEntry("PH-BXC", HalfHourSet::range(3, 9)));
    airport.stands[0].entries.push_back(learnedEntry("", HalfHourSet::range(3, 9)));
    airport.stands[0].entries.back().index = 3;
    HalfHourSet split;
    for (int k : {10, 11, 14})
        split.insert(k);
    airport.stands[0].entries.push_back(learnedEntry("PH-BXD", split));
    airport.stands[0].entries.back().index = 4;
    airport.stands[1].radius = 33.0 / 1852.0;
    airport.stands[1].radiusChanged = true;
    Stand manual;
    manual.id = "M1";
    manual.latitude = 52.33;
    manual.longitude = 4.7;
    manual.radius = 25.0 / 1852.0;
    manual.manual = true;
    manual.cargo = true;
    manual.entries.push_back(learnedEntry("PH-BHA", HalfHourSet::range(0, 47)));
    manual.entries.back().identity = {1, 1, 1, false, true};
    manual.entries.back().index = 1;
    airport.stands.push_back(manual);
    airport.updateCount = 1;
    settings::MAX_FIT_FL.setCurrent(3.0F);
    settings::WEEK.setCurrent(true);

    saveLearnedFile(airport, context);
    ASSERT_TRUE(fs::exists(learnedFile));
    EXPECT_EQ(airport.updateCount, 0);
    EXPECT_TRUE(logged.contains("==> bit set problem: PH-BXD KLM7 KLM/B738"));
    const std::string text = corv::test::readFile(learnedFile);
    EXPECT_NE(text.find("\n  <meta>"), std::string::npos) << text;
    EXPECT_EQ(text.find("C3"), std::string::npos) << "a stand with nothing learned is not saved";
    EXPECT_EQ(text.find("PH-BXA"), std::string::npos) << "archive entries are not saved";

    corv::test::resetParameters();
    LoadedAirport again;
    load(again);
    EXPECT_TRUE(settings::WEEK.value());
    EXPECT_EQ(settings::MAX_FIT.value(), 5);
    ASSERT_EQ(again.stands.size(), 4U);
    const auto& entries = again.stands[0].entries;
    ASSERT_EQ(entries.size(), 2U);
    const OccupancyEntry& back = entries[1];
    EXPECT_EQ(back.registration, "PH-BXB");
    EXPECT_EQ(back.hours, HalfHourSet::range(3, 9));
    EXPECT_EQ(back.day, 5);
    EXPECT_EQ(back.callsign, "KLM7");
    EXPECT_EQ(back.callsign2, "KLM8");
    EXPECT_FALSE(back.real);
    EXPECT_TRUE(back.cpl);
    EXPECT_TRUE(sameAircraft(back.identity, learnedEntry("", {}).identity));
    EXPECT_TRUE(again.stands[1].radiusChanged);
    EXPECT_NEAR(again.stands[1].radius * 1852.0, 33.0, 1e-9);
    const Stand& m1 = again.stands[3];
    EXPECT_EQ(m1.id, "M1");
    EXPECT_TRUE(m1.manual && m1.cargo);
    ASSERT_EQ(m1.entries.size(), 1U);
    EXPECT_TRUE(m1.entries[0].identity.fromRegistration);
    EXPECT_EQ(m1.entries[0].hours, HalfHourSet::range(0, 47));
}

TEST_F(SaveLearnedTest, HandmadeFilesKeepEveryStandWithPlaceAndQuality) {
    LoadedAirport airport;
    load(airport);
    airport.handmade = true;
    saveLearnedFile(airport, context);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(learnedFile.c_str()));
    const pugi::xml_node root = document.child("root");
    const auto parameter = [&](const char* name) {
        return std::string(root.child("parameters")
                               .find_child_by_attribute("parameter", "name", name)
                               .attribute("value")
                               .as_string());
    };
    EXPECT_EQ(parameter("handmade"), "true");
    EXPECT_EQ(parameter("altitude"), "-11");
    EXPECT_EQ(parameter("Qf_real"), "21");
    EXPECT_EQ(parameter("Qf_soft"), "0");
    EXPECT_EQ(std::distance(root.child("parkpositions").children("parkpos").begin(),
                            root.child("parkpositions").children("parkpos").end()),
              3);
    EXPECT_STREQ(root.child("parkpositions").child("parkpos").attribute("latitude").as_string(),
                 "52.300000");
    const auto lines = logged.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.ends_with(
            " handmade 'airports/learned/thirdparty/ORBX Global/EHAM.xml' saved with 0 updates");
    }));
}

TEST_F(SaveLearnedTest, FullFilesHoldEveryStandWithoutOccupancy) {
    LoadedAirport airport;
    load(airport);
    AirportRecord record;
    record.code = AirportCode("EHAM");
    record.name = "Schiphol";
    record.bglPath = "Scenery/EHAM.bgl";
    record.stands = airport.stands;
    record.stands[0].heli = true;
    record.altitude = -11;
    const fs::path file = work / "airports/my_thirdparty/EHAM.xml";
    ASSERT_TRUE(writeAirportFile(file, record, AirportFileMode::full, identities, 3));
    EXPECT_EQ(corv::test::readFile(file).find("<opt"), std::string::npos);
    EXPECT_NE(corv::test::readFile(file).find(
                  R"(<parkpos id="A1" latitude="52.300000" longitude="4.760000" heading="0.0" )"
                  R"(radius="20.0" type="0" cargo="false" ramp="false" heli="true" />)"),
              std::string::npos)
        << corv::test::readFile(file);

    LoadedAirport again;
    load(again);
    EXPECT_EQ(again.stands.size(), 3U);
    EXPECT_TRUE(again.stands[0].heli);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(file.c_str()));
    const pugi::xml_node parameters = document.child("root").child("parameters");
    for (const auto& [name, value] : {std::pair{"num_parkpos", "3"},
                                      {"BGLpath", "Scenery/EHAM.bgl"},
                                      {"altitude", "-11"},
                                      {"icao", "EHAM"}}) {
        EXPECT_STREQ(parameters.find_child_by_attribute("parameter", "name", name)
                         .attribute("value")
                         .as_string(),
                     value);
    }
    EXPECT_FALSE(parameters.find_child_by_attribute("parameter", "name", "WEEK"));
}

TEST(LearnedFileSaving, AKillDuringSavesNeverLeavesAnUnreadableFile) {
    corv::test::TempFolder work;
    const fs::path file = work / "airports/learned/thirdparty/ORBX Global/EHAM.xml";
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        const std::optional<int> status =
            corv::test::killDuringSaves(LEARNED_SAVE_BURST_EXECUTABLE, work.path().string(),
                                        std::chrono::microseconds(round % 8 * 700));
        ASSERT_TRUE(status) << "the saver never reported a save";
        ASSERT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL) << *status;
        pugi::xml_document document;
        const pugi::xml_parse_result result = document.load_file(file.c_str());
        ASSERT_TRUE(result) << result.description();
        EXPECT_EQ(std::distance(document.child("root").child("parkpositions").children().begin(),
                                document.child("root").child("parkpositions").children().end()),
                  200);
    }
}

}  // namespace
}  // namespace corv::airports
