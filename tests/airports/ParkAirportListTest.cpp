#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "airports/ParkAirportList.hpp"
#include "services/MessageLine.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::airports::test {
namespace {

CatalogueAirport airportAt(std::string_view code, double latitude) {
    CatalogueAirport airport;
    airport.code = AirportCode(code);
    airport.latitude = latitude;
    airport.longitude = 4.0;
    return airport;
}

class ParkAirportListTest : public ::testing::Test {
  protected:
    ParkAirportListTest() {
        std::filesystem::create_directories(work.path() / "airports");
        catalogue.assign(
            {airportAt("EHAM", 52.0), airportAt("EHRD", 51.0), airportAt("EBBR", 50.0)});
    }
    void writeList(const std::string& content) {
        corv::test::writeFile(work.path() / "airports" / ParkAirportList::fileName, content);
    }
    std::string readList() const {
        return corv::test::readFile(work.path() / "airports" / ParkAirportList::fileName);
    }
    std::vector<std::string> codes() {
        std::vector<std::string> list;
        for (const ParkAirportEntry& entry : parkList.entries())
            list.push_back(entry.code.str() + "," + entry.reservedStand);
        return list;
    }

    corv::test::TempFolder work;
    AirportCatalogue catalogue;
    services::MessageLine messages{[] {}};
    ParkAirportList parkList{work.path(), catalogue};
    corv::test::LogCapture log;
};

TEST_F(ParkAirportListTest, LinesNameAnAirportAndItsReservedStand) {
    writeList(
        "\xEF\xBB\xBF"
        "EHAM,,A1\r\nEHRD, B2\nEBBR,C1,C2\n\nEHAM\n");
    EXPECT_TRUE(parkList.lf_readMyParkAirports(messages));
    // A blank after the comma belongs to the stand; three pieces and doubles are refused.
    EXPECT_EQ(codes(), (std::vector<std::string>{"EHAM,A1", "EHRD, B2"}));
    EXPECT_TRUE(log.contains("==> my_park_airports.txt:EBBR,C1,C2 wrong syntax, skipped"));
    EXPECT_TRUE(log.contains("==> my_park_airports.txt:EHAM double, skipped"));

    writeList("ZZZZ\nEHAM\n");
    EXPECT_FALSE(parkList.lf_readMyParkAirports(messages));
    EXPECT_EQ(codes(), std::vector<std::string>{"EHAM,"});
}

TEST_F(ParkAirportListTest, NearestFirstUnlessADestinationLeads) {
    writeList("EBBR\nEHAM\nEHRD\n");
    ASSERT_TRUE(parkList.lf_readMyParkAirports(messages));
    parkList.updateParkAirportDistances({51.9, 4.0}, false);
    EXPECT_EQ(codes().front(), "EHAM,");

    parkList.setDestination(*catalogue.findAirport(AirportCode("EBBR")));
    parkList.updateParkAirportDistances({51.95, 4.0}, true);
    EXPECT_EQ(codes().front(), "EBBR,");
    // The user parks at the destination: its line gets the stand.
    parkList.entries().front().reservedStand = "B12";
    parkList.writeParkAirportLine();
    EXPECT_EQ(readList(), "EBBR,B12\nEHAM\nEHRD\n");
}

TEST_F(ParkAirportListTest, ALongListIsWarnedAbout) {
    for (const int count : {3000, 3001}) {
        std::vector<CatalogueAirport> airports;
        std::string content;
        for (int i = 0; i < count; ++i) {
            const std::string code = fmt::format("{}{}{}{}", char('A' + i / 676 % 26),
                                                 char('A' + i / 26 % 26), char('A' + i % 26), 'X');
            airports.push_back(airportAt(code, 50.0));
            content += code + "\n";
        }
        catalogue.assign(airports);
        writeList(content);
        corv::test::LogCapture counted;
        EXPECT_TRUE(parkList.lf_readMyParkAirports(messages));
        EXPECT_EQ(counted.contains("Warning: There are a lot of airports (3001), that will cost "
                                   "Corvane much cpu time and may cause stutters"),
                  count == 3001);
    }
}

}  // namespace
}  // namespace corv::airports::test
