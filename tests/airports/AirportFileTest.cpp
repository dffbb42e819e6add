#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include <pugixml.hpp>

#include "airports/AirportFileSource.hpp"
#include "airports/AirportFileWrite.hpp"
#include "airports/HoursText.hpp"
#include "airports/NearestStand.hpp"
#include "airports/ParkAirportFile.hpp"
#include "airports/QualityFactors.hpp"
#include "airports/StaysNext.hpp"
#include "common/UserErrorException.hpp"
#include "data/SiteDownloader.hpp"
#include "services/MessageLine.hpp"
#include "settings/ParameterTable.hpp"
#include "support/KillDuringSaves.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/RecordedControls.hpp"
#include "support/TempFolder.hpp"

namespace corv::airports {
namespace {

// Airlines and types by code, registrations of the reference data by text.
struct TableIdentities final : EntryIdentities {
    std::optional<common::AircraftIdentity> ofRegistration(std::string_view reg) const override {
        if (reg == "PH-BXA") return common::AircraftIdentity{1, 0, 1, false, true};
        return std::nullopt;
    }
    common::AircraftIdentity ofCodes(std::string_view airline,
                                     std::string_view type) const override {
        return {index(airline), 0, index(type), false, false};
    }
    std::string airlineCode(const common::AircraftIdentity& id) const override {
        return code(id.airline);
    }
    std::string typeCode(const common::AircraftIdentity& id) const override {
        return code(id.model);
    }
    std::string text(const common::AircraftIdentity& id) const override {
        return code(id.airline) + " " + code(id.model);
    }
    common::CodeIndex index(std::string_view text) const {
        for (const auto& [i, c] : codes)
            if (c == text) return i;
        return 0;
    }
    std::string code(common::CodeIndex i) const {
        const auto found = codes.find(i);
        return found == codes.end() ? "" : found->second;
    }
    std::map<common::CodeIndex, std::string> codes{
        {1, "KLM"}, {2, "B738"}, {3, "EZY"}, {4, "A320"}};
};

// The download site: files of a local folder, one path refused.
struct FolderSite final : data::SiteDownloader {
    bool download(std::string_view sitePath, const std::filesystem::path& target) override {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        return std::filesystem::copy_file(root / sitePath, target,
                                          std::filesystem::copy_options::overwrite_existing, error);
    }
    std::string addressOf(std::string_view sitePath) const override {
        return "https://site.test/downloads/P3D/" + std::string(sitePath);
    }
    std::filesystem::path root;
};

void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// Three stands 30 m apart in a row: A (radius 20 m) and B (15 m) overlap, B and C (15 m) not.
const char* const stockFile = R"(<?xml version="1.0"?>
<root><parameters>
  <parameter name="airport_name" value="Testfield"/>
  <parameter name="publisher" value="stock"/>
  <parameter name="altitude" value="-11"/>
</parameters><parkpositions>
  <parkpos id=" A1 " latitude="52.3" longitude="4.76" heading="90" radius="20" type="1">
    <opt reg="PH-BXA" day="1" hh="10:12" cs="KLM123:KLM124"/>
    <opt airl="EZY" type="A320" day="8" hh="3"/>
  </parkpos>
  <parkpos id="B2" latitude="52.30026979" longitude="4.76" heading="90" radius="15" type="5"/>
  <parkpos id="C3" latitude="52.30053958" longitude="4.76" heading="90" radius="15" type="0" ramp="true"/>
  <parkpos id="X" latitude="0" longitude="0" radius="15"/>
</parkpositions></root>)";

class AirportFileTest : public ::testing::Test {
  protected:
    AirportFileTest() {
        test::resetParameters();
        site.root = folder / "site";
        CatalogueAirport listed;
        listed.code = AirportCode("EHAM");
        listed.standClass = 1;
        catalogue.assign({listed});
        airport.code = "EHAM";
    }
    ~AirportFileTest() override { test::resetParameters(); }

    std::string read(const std::string& path) { return gf_readApf(path, airport, services); }

    test::TempFolder folder;
    test::LogCapture log;
    AirportCatalogue catalogue;
    TableIdentities identities;
    FolderSite site;
    services::MessageLine messages{[] {}};
    test::RecordedControls controls;
    std::int32_t rangeSet = 0;
    AirportFileServices services{
        folder.path(), catalogue, identities, site, messages, controls, [this](std::int32_t nm) {
            rangeSet = nm;
        }};
    LoadedAirport airport;
};

TEST_F(AirportFileTest, AnAddOnLinkOrFileComesBeforeTheStockArchive) {
    const AirportCode eham("EHAM");
    EXPECT_EQ(resolveAirportFile(folder.path(), catalogue, eham), "archive/stock/EHAM.xml");
    write(folder / "airports/my_ORBX/EHAM.xml", stockFile);
    EXPECT_EQ(resolveAirportFile(folder.path(), catalogue, eham), "airports/my_ORBX/EHAM.xml");
    write(folder / "airports/my_thirdparty/EHAM.txt", "archive/thirdparty/Pub/EHAM_v2.XM  \n");
    EXPECT_EQ(resolveAirportFile(folder.path(), catalogue, eham), "airports/my_ORBX/EHAM.xml")
        << "a text not ending in .xml is no link";
    write(folder / "airports/my_thirdparty/EHAM.txt", "archive/thirdparty/Pub/EHAM_v2.XML \r\n");
    EXPECT_EQ(resolveAirportFile(folder.path(), catalogue, eham),
              "archive/thirdparty/Pub/EHAM_v2.XML");
    EXPECT_TRUE(hasStandData(folder.path(), catalogue, AirportCode("EHAM")));
    EXPECT_FALSE(hasStandData(folder.path(), catalogue, AirportCode("LSZH")));
    EXPECT_EQ(resolveAirportFile(folder.path(), catalogue, AirportCode("LSZH")), "");
}

TEST(LearnedPath, EachSourceHasItsLearnedFolder) {
    const std::map<std::pair<std::string, std::string>, std::string> cases{
        {{"archive/stock/EHAM.xml", ""}, "airports/learned/stock/EHAM.xml"},
        {{"archive/simaddon/KSEA.xml", ""}, "airports/learned/simaddon/KSEA.xml"},
        {{"archive/thirdparty/ORBX%20Global/EGLC.xml", ""},
         "airports/learned/thirdparty/ORBX Global/EGLC.xml"},
        {{"airports/my_thirdparty/LOWI.xml", " FlyTampa "},
         "airports/learned/thirdparty/FlyTampa/LOWI.xml"},
        {{"airports/my_thirdparty/LOWI.xml", ""}, ""},
        {{"airports/stock/LOWW.xml", ""}, "airports/learned/stock/LOWW.xml"},
        {{"archive/stock/EHAM.txt", ""}, ""},
    };
    for (const auto& [input, expected] : cases) {
        const auto learned = learnedPathOf(input.first, input.second);
        EXPECT_EQ(learned ? learned->generic_string() : "", expected) << input.first;
    }
}

TEST_F(AirportFileTest, ADownloadedStockFileGivesStandsNeighboursAndFirstVisitSettings) {
    write(site.root / "archive/stock/EHAM.xml", stockFile);
    ASSERT_EQ(read("archive/stock/EHAM.xml"), "");
    ASSERT_EQ(airport.stands.size(), 3u) << "the stand without a position is skipped";
    const Stand& a = airport.stands[0];
    EXPECT_EQ(a.id, "A1");
    EXPECT_EQ(a.number, 1);
    EXPECT_NEAR(a.radius * 1852.0, 20.0, 1e-9);
    EXPECT_TRUE(a.ramp);
    EXPECT_TRUE(airport.stands[1].cargo) << "type 5";
    EXPECT_TRUE(airport.stands[2].ramp) << "type 0 takes the attribute";
    ASSERT_EQ(a.entries.size(), 1u) << "day 8 is no weekday";
    EXPECT_TRUE(a.entries[0].identity.fromRegistration);
    EXPECT_EQ(a.entries[0].callsign2, "KLM124");
    // 20 + 15 > 1.1 * 30; 15 + 15 < 1.1 * 30.
    EXPECT_EQ(a.neighbours, std::vector<std::int32_t>{2});
    EXPECT_EQ(airport.stands[1].neighbours, std::vector<std::int32_t>{1});
    EXPECT_EQ(airport.altitude, -11);
    EXPECT_EQ(settings::parking_percentage.value(), 100) << "stand class 1";
    EXPECT_TRUE(airport.loaded);
    EXPECT_EQ(standIdOf(airport.stands, 2), "B2");
    EXPECT_EQ(standIdOf(airport.stands, 0), "sid==0?");
    EXPECT_EQ(standIdOf(airport.stands, 9), "sid==?");
}

TEST_F(AirportFileTest, BrokenFilesAreReportedNotLoaded) {
    EXPECT_EQ(read(""), "gf_readApf: xml is empty");
    EXPECT_EQ(read("archive/stock/EHAM.xml"),
              "failed to download: 'https://site.test/downloads/P3D/archive/stock/EHAM.xml'");
    write(folder / "airports/my_ORBX/EHAM.xml",
          R"(<root><parameters><parameter name="altitude" value="1"/></parameters><parkpositions>
             <parkpos id="X" radius="15"/></parkpositions></root>)");
    EXPECT_EQ(read("airports/my_ORBX/EHAM.xml"), "no stands found");
    const std::map<std::string, int> userErrors{
        {R"(<root><parkpositions/></root>)", 65},
        {R"(<parameters><parameter name="altitude" value="1"/></parameters><parkpositions>
            <parkpos id="A" latitude="1" longitude="1"/><parkpos id="A " latitude="2" longitude="2"/>
            </parkpositions>)",
         94},
        {R"(<root><parameters><parameter name="altitude" value="1"/></parameters><parkpositions>
            <parkpos id=" " latitude="1" longitude="1"/></parkpositions></root>)",
         93},
    };
    for (const auto& [text, code] : userErrors) {
        write(folder / "airports/my_ORBX/EHAM.xml", text);
        try {
            read("airports/my_ORBX/EHAM.xml");
            ADD_FAILURE() << "no error " << code;
        } catch (const UserErrorException& error) {
            EXPECT_EQ(error.code(), code);
        }
    }
}

TEST_F(AirportFileTest, ALearnedFileAddsNewStaysButNotOnesTheArchiveHas) {
    write(folder / "airports/my_ORBX/EHAM.xml", stockFile);
    write(folder / "airports/learned/EHAM.xml", "<root><parkpositions/></root>");  // wrong place
    write(folder / "airports/learned/my_ORBX/EHAM.xml", R"(<root>
      <meta><info name="version" value="12.6.0"/></meta>
      <parameters><parameter name="airport_name" value="Testfield"/></parameters>
      <parkpositions><parkpos id="A1" radius_change="true" radius="25">
        <opt reg="PH-BXA" day="1" hh="12:14" cs="KLM9"/>
        <opt reg="PH-BXA" day="1" hh="13:14" cs="KLM9"/>
        <opt reg="PH-BXA" day="2" hh="10" soft="true"/>
      </parkpos></parkpositions></root>)");
    settings::parking_percentage.setCurrent(100);
    ASSERT_EQ(read("airports/my_ORBX/EHAM.xml"), "");
    const Stand& a = airport.stands[0];
    ASSERT_EQ(a.entries.size(), 3u) << "12:14 overlaps the archive's 10:12 and is refused";
    EXPECT_EQ(a.entries[1].hours, HalfHourSet::range(13, 14));
    EXPECT_EQ(a.entries[1].origin, 0);
    EXPECT_EQ(a.entries[1].index, 2);
    EXPECT_FALSE(a.entries[2].real);
    EXPECT_TRUE(a.radiusChanged);
    EXPECT_NEAR(a.radius * 1852.0, 25.0, 1e-9);
    EXPECT_EQ(settings::parking_percentage.value(), 30) << "absent from the learned file";
}

TEST_F(AirportFileTest, AHandmadeLearnedFileReplacesEveryStand) {
    write(folder / "airports/my_ORBX/EHAM.xml", stockFile);
    write(folder / "airports/learned/my_ORBX/EHAM.xml", R"(<root>
      <parameters><parameter name="handmade" value="false"/>
        <parameter name="RANGE" value="25"/></parameters>
      <parkpositions><parkpos id="H1" latitude="52.31" longitude="4.77" radius="30"/>
      </parkpositions></root>)");
    ASSERT_EQ(read("airports/my_ORBX/EHAM.xml"), "");
    EXPECT_TRUE(airport.handmade) << "the parameter's presence counts";
    ASSERT_EQ(airport.stands.size(), 1u);
    EXPECT_EQ(airport.stands[0].id, "H1");
    EXPECT_EQ(rangeSet, 25) << "through the range setter";
}

TEST_F(AirportFileTest, LeavingSavesWhatWasLearnedAndRestoresTheSettings) {
    write(site.root / "archive/thirdparty/ORBX%20Global/EHAM.xml", stockFile);
    ASSERT_EQ(read("archive/thirdparty/ORBX%20Global/EHAM.xml"), "");
    airport.publisher = "ORBX Global";
    Stand& a = airport.stands[0];
    OccupancyEntry learned = a.entries[0];
    learned.origin = 0;
    learned.index = 2;
    learned.hours = HalfHourSet::range(20, 22);
    a.entries.push_back(learned);
    OccupancyEntry scattered = learned;
    scattered.index = 3;
    scattered.registration = "PH-BXB";
    scattered.hours = gf_hours2bitset("10,11,14");
    a.entries.push_back(scattered);
    airport.updates = 2;
    const bool weekBefore = settings::WEEK.value();
    settings::WEEK.setCurrent(!weekBefore);

    saveLearnedFile(airport, services);
    restoreAirportSettings(airport, services);
    const auto saved = folder / "airports/learned/thirdparty/ORBX Global/EHAM.xml";
    const std::string text = test::readFile(saved);
    EXPECT_NE(text.find(R"(hh="20:22")"), std::string::npos);
    EXPECT_EQ(text.find(R"(hh="10:12")"), std::string::npos) << "archive entries stay there";
    EXPECT_EQ(text.find("PH-BXB"), std::string::npos) << "hours 10,11,14 have no range form";
    const auto lines = log.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("bit set problem: PH-BXB KLM123") != std::string::npos;
    }));
    EXPECT_EQ(settings::WEEK.value(), weekBefore) << "restored";
    EXPECT_EQ(airport.updates, 0);

    // The saved file is read back on the next visit.
    LoadedAirport again;
    again.code = "EHAM";
    ASSERT_EQ(gf_readApf("archive/thirdparty/ORBX%20Global/EHAM.xml", again, services), "");
    ASSERT_EQ(again.stands[0].entries.size(), 2u);
    EXPECT_EQ(again.stands[0].entries[1].hours, HalfHourSet::range(20, 22));
}

TEST(QualityFactors, RealAndSoftDataOfTheStands) {
    EXPECT_EQ(computeQualityFactors({}), (QualityPair{-1, -1}));
    Stand stand;
    stand.radius = 20.0 / 1852.0;
    OccupancyEntry entry;
    entry.index = 1;
    entry.day = 1;
    entry.hours = HalfHourSet::range(0, 9);
    stand.entries = {entry};
    // (20 + 10000 + 100 + 2 * 10) over one stand, times 0.00625: 63.375.
    EXPECT_EQ(computeQualityFactors({stand}), (QualityPair{63, 0}));
    EXPECT_EQ(qualityText({64, 0}), "64");
    EXPECT_EQ(qualityText({12, 40}), "12/40");
    EXPECT_EQ(qualityText({-1, -1}), "  ");
}

TEST_F(AirportFileTest, TheNearestStandComesFromTheLocalOrTheDownloadedFile) {
    const StandFileAccess access{folder.path(), catalogue, site};
    const common::GeoPoint nearC3{52.3006, 4.76};
    std::string id;
    EXPECT_EQ(gf_readDestApfForClosestStand(access, AirportCode("LSZH"), nearC3, id), 100.0)
        << "no stand file";
    EXPECT_EQ(gf_readDestApfForClosestStand(access, AirportCode("EHAM"), nearC3, id), 100.0)
        << "the download failed";
    write(site.root / "archive/stock/EHAM.xml", stockFile);
    const double nm = gf_readDestApfForClosestStand(access, AirportCode("EHAM"), nearC3, id);
    EXPECT_EQ(id, "C3");
    EXPECT_NEAR(nm * 1852.0, 6.0, 1.0);
    EXPECT_FALSE(std::filesystem::exists(folder / "airport.xml")) << "the download is removed";
}

TEST(StaysNext, TheNextHalfHourOrTheNextDaysFirst) {
    Stand stand;
    OccupancyEntry monday;
    monday.index = 1;
    monday.day = 1;
    monday.callsign = "KLM1";
    monday.callsign2 = "KLM2";
    monday.hours = HalfHourSet::range(40, 47);
    OccupancyEntry tuesday = monday;
    tuesday.index = 2;
    tuesday.day = 2;
    tuesday.hours = HalfHourSet::range(0, 3);
    stand.entries = {monday, tuesday};
    const OccupancyEntry& entry = stand.entries[0];
    EXPECT_TRUE(staysNext(entry, stand, {1, 45}));
    EXPECT_TRUE(staysNext(entry, stand, {1, 47})) << "Tuesday 0 follows";
    stand.entries[1].index = 0;
    EXPECT_FALSE(staysNext(stand.entries[0], stand, {1, 47})) << "a disabled entry does not";
    OccupancyEntry single = monday;
    single.callsign2.clear();
    EXPECT_TRUE(staysNext(single, stand, {1, 10})) << "one callsign: nothing to switch";
    monday.hours = HalfHourSet::range(40, 45);
    EXPECT_FALSE(staysNext(monday, stand, {1, 45}));
}

// A learned file written while the program is killed is the old one or the new one, never a
// damaged one.
TEST(LearnedFile, KilledDuringSavesLeavesAReadableFile) {
    test::TempFolder folder;
    const auto learned = folder / "airports/learned/stock/EHAM.xml";
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const std::optional<int> status = test::killDuringSaves(
            LEARNED_BURST_EXECUTABLE, folder.path(), std::chrono::microseconds(round % 6 * 900));
        ASSERT_TRUE(status) << "the saver never reported a save";
        ASSERT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_file(learned.c_str());
        ASSERT_TRUE(parsed) << parsed.description();
        const auto stands = document.child("root").child("parkpositions").children("parkpos");
        EXPECT_EQ(std::distance(stands.begin(), stands.end()), 300);
    }
}

}  // namespace
}  // namespace corv::airports
