#include "airports/ReadApf.hpp"

#include <algorithm>

#include "airports/AirportFilesFixture.hpp"
#include "airports/StandNeighbours.hpp"
#include "common/UserErrorException.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::airports {
namespace {

namespace fs = std::filesystem;
using test::airportFile;

const std::string standA =
    R"(<parkpos id=" A1 " latitude="52.3" longitude="4.76" heading="90" radius="20" type="1">)"
    R"(<opt airl="KLM" type="B738" day="1" hh="10:12" cs="KLM1"/>)"
    R"(<opt airl="KLM" type="B738" day="8" hh="10:12" cs="KLM2"/>)"
    R"(<opt airl="KLM" type="B738" day="2" hh="" cs="KLM3"/></parkpos>)";
const std::string standB = R"(<parkpos id="B2" latitude="52.301" longitude="4.76" radius="15"/>)";

class ReadApfTest : public test::AirportFilesTest {
  protected:
    ReadApfTest() {
        catalogue.assign({test::catalogueAirport("EHAM", 1)});
        airport.code = AirportCode("EHAM");
    }
    std::string read(const std::string& path = "airports/my_thirdparty/EHAM.xml") {
        return gf_readApf(path, airport, context);
    }
    const Stand& stand(const std::string& id) {
        const auto found = std::find_if(airport.stands.begin(), airport.stands.end(),
                                        [&](const Stand& s) { return s.id == id; });
        EXPECT_NE(found, airport.stands.end()) << id;
        return *found;
    }
    LoadedAirport airport;
};

TEST_F(ReadApfTest, ReadsStandsAndAcceptedEntries) {
    put("airports/my_thirdparty/EHAM.xml", airportFile(standA + standB));
    ASSERT_EQ(read(), "");
    EXPECT_TRUE(airport.loaded);
    EXPECT_EQ(airport.airport_name, "Schiphol");
    EXPECT_EQ(airport.altitude, -11);
    ASSERT_EQ(airport.stands.size(), 2U);
    const Stand& a = airport.stands[0];
    EXPECT_EQ(a.id, "A1");
    EXPECT_EQ(a.number, 1);
    EXPECT_TRUE(a.ramp);
    EXPECT_NEAR(a.radius, 20.0 / 1852.0, 1e-12);
    EXPECT_NEAR(a.heading, 1.5707963, 1e-6);
    // Day 8 and empty hours are refused; the accepted entry is number 1.
    ASSERT_EQ(a.entries.size(), 1U);
    EXPECT_EQ(a.entries[0].index, 1);
    EXPECT_EQ(a.entries[0].hours, HalfHourSet::range(10, 12));
    EXPECT_EQ(airport.standIdOf(2), "B2");
    EXPECT_EQ(airport.standIdOf(0), "sid==0?");
    EXPECT_EQ(airport.standIdOf(3), "sid==?");
    EXPECT_EQ(airport.standIdOf(-1), "sid==?");
}

TEST_F(ReadApfTest, FileLevelFailuresReturnTheirText) {
    put("airports/my_thirdparty/EHAM.xml",
        airportFile(R"(<parkpos id="Z" latitude="0" longitude="0"/>)"));
    EXPECT_EQ(read(), "no stands found");
    EXPECT_TRUE(logged.contains("==> stand Z has no valid lat/lon"));

    EXPECT_EQ(read(""), "gf_readApf: xml is empty");
    EXPECT_EQ(
        read("airports/my_thirdparty/XXXX.xml"),
        "airports/my_thirdparty/XXXX.xml: could not load file: airports/my_thirdparty/XXXX.xml");
    EXPECT_EQ(read("archive/stock/EHAM.xml"),
              "failed to download: 'https://site.example/downloads/P3D/archive/stock/EHAM.xml'");
    put("airports/my_thirdparty/EHAM.xml",
        R"(<root><meta><info name="author" value="Someone else"/></meta></root>)");
    EXPECT_EQ(read(), "airports/my_thirdparty/EHAM.xml: refused to load");
    EXPECT_TRUE(airport.stands.empty());
    airport.code.reset();
    EXPECT_EQ(read(), "gf_readApf: no park airport set");
}

TEST_F(ReadApfTest, DamagedStandListsAreUserErrors) {
    const struct {
        std::string stands;
        int code;
        std::string message;
    } cases[] = {
        {R"(<parkpos latitude="1" longitude="1"/>)", 93,
         "Parking position #1 has no 'id' attribute."},
        {standB + R"(<parkpos id=" &#9; " latitude="1" longitude="1"/>)", 93,
         "Stand #2 has empty 'id' attribute."},
        {standB + standB, 94, "Stand 'B2' appears more than once."},
    };
    for (const auto& c : cases) {
        put("airports/my_thirdparty/EHAM.xml", airportFile(c.stands));
        try {
            read();
            ADD_FAILURE() << c.message;
        } catch (const UserErrorException& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_TRUE(airport.stands.empty());
    }
    put("airports/my_thirdparty/EHAM.xml", "<root><parameters/><parkpositions/></root>");
    try {
        read();
        ADD_FAILURE() << "no altitude";
    } catch (const UserErrorException& e) {
        EXPECT_EQ(e.code(), 65);
        EXPECT_EQ(e.message(), "Parameter altitude not found");
    }
}

TEST_F(ReadApfTest, DownloadsSiteFilesAndFindsTheirLearnedFileByAirport) {
    downloader.files["downloads/P3D/archive/stock/EHAM_2024.xml"] = airportFile(standB);
    put("airports/learned/stock/EHAM.xml",
        R"(<root><parameters><parameter name="airport_name" value="Schiphol"/>)"
        R"(<parameter name="parking_percentage" value="50"/></parameters></root>)");
    ASSERT_EQ(read("archive/stock/EHAM_2024.xml"), "");
    EXPECT_TRUE(fs::exists(work / "airports/park_airport.xml"));
    EXPECT_TRUE(
        logged.contains("Read from learned airport file: 'airports/learned/stock/EHAM.xml'"));
    EXPECT_EQ(settings::parking_percentage.value(), 50);
}

TEST_F(ReadApfTest, FirstVisitTakesTheParkingPercentageOfTheStandClass) {
    put("airports/my_thirdparty/EHAM.xml", airportFile(standB));
    settings::parking_percentage.setCurrent(30);
    ASSERT_EQ(read(), "");
    EXPECT_TRUE(
        logged.contains("learned 'airports/learned/thirdparty/stock/EHAM.xml' does not exist"));
    EXPECT_EQ(settings::parking_percentage.value(), 100);
    EXPECT_EQ(controls.selected[settings::parking_percentage.controlId],
              settings::parking_percentage.currentIndex());
}

TEST_F(ReadApfTest, ALearnedFileWithoutPercentageSetsThirty) {
    put("airports/learned/stock/EHAM.xml",
        R"(<root><parameters><parameter name="airport_name" value="Schiphol"/>)"
        R"(<parameter name="RANGE" value="20"/><parameter name="MAX_FIT" value="5"/></parameters></root>)");
    downloader.files["downloads/P3D/archive/stock/EHAM.xml"] = airportFile(standB);
    settings::parking_percentage.setCurrent(100);
    ASSERT_EQ(read("archive/stock/EHAM.xml"), "");
    EXPECT_EQ(settings::parking_percentage.value(), 30);
    EXPECT_EQ(rangesSet, std::vector<int>{20});
    EXPECT_EQ(settings::MAX_FIT.value(), 5);
    EXPECT_FLOAT_EQ(settings::MAX_FIT_FL.value(), 3.0F);
    EXPECT_TRUE(logged.contains(
        "MAX_FIT                 : 5 (max number of half hours, is 3.0 hrs decimal)"));
}

TEST(StandNeighbours, OverlapWhenTheRadiiExceedTheDistanceWithAMargin) {
    const struct {
        double radiusA;
        double radiusB;
        bool neighbours;
    } cases[] = {{20.0, 15.0, true}, {15.0, 15.0, false}};
    for (const auto& c : cases) {
        // 30 m apart along a meridian, one nautical mile per minute of latitude.
        std::vector<Stand> stands(3);
        stands[0].latitude = 52.0;
        stands[1].latitude = 52.0 + 30.0 / 1852.0 / 60.0;
        stands[2].latitude = 53.0;
        stands[0].radius = c.radiusA / 1852.0;
        stands[1].radius = c.radiusB / 1852.0;
        numberStandsAndNeighbours(stands);
        EXPECT_EQ(stands[2].number, 3);
        EXPECT_EQ(stands[0].neighbours,
                  c.neighbours ? std::vector<std::int32_t>{2} : std::vector<std::int32_t>{});
        EXPECT_EQ(stands[1].neighbours,
                  c.neighbours ? std::vector<std::int32_t>{1} : std::vector<std::int32_t>{});
        EXPECT_TRUE(stands[2].neighbours.empty());
    }
}

}  // namespace
}  // namespace corv::airports
