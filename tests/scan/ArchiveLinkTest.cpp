#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scan/ArchiveLink.hpp"
#include "scan/GeneratedAirportFile.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Publishers {
    std::vector<std::vector<std::string>> names{{"Other"}, {"Some Dev", "SomeDev", "SDV"}};
    std::set<std::string, std::less<>> simAddon{"EHAM"};
    std::vector<liveries::PublisherAirports> archived{{"Some Dev", {"EGKK", "EGLL"}}};
    scan::PublisherLists lists() const { return {names, simAddon, archived}; }
};

scan::ScannedStand standNamed(const char* id) {
    scan::ScannedStand stand;
    stand.id = id;
    return stand;
}

scan::ScannedAirport airportAt(const char* code, const char* path) {
    scan::ScannedAirport airport;
    airport.code = common::FixedCode<4>(code);
    airport.bglPath = path;
    return airport;
}

TEST(ArchiveLink, LinksAnAirportTheArchiveHoldsForItsPublisher) {
    const struct {
        const char* code;
        const char* path;
        const char* linkFile;  // below the airports folder
        const char* link;
        std::vector<std::string> messages;
    } cases[] = {
        {"EHAM", "/scenery/orbx/EHAM/scenery/ad.bgl", "my_ORBX/EHAM.txt",
         "archive/simaddon/EHAM.xml",
         {"from filename => publisher simaddon",
          "simaddon airport EHAM linked to archive/simaddon/EHAM.xml\n"}},
        {"EGLL", "/scenery/somedev-egll/scenery/ad.bgl", "my_thirdparty/EGLL.txt",
         "archive/thirdparty/Some%20Dev/EGLL.xml",
         {"thirdparty airport EGLL linked to archive/thirdparty/Some%20Dev/EGLL.xml\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        TempFolder folder;
        scan::ScanMessages messages;
        scan::ScannedAirport airport = airportAt(c.code, c.path);
        EXPECT_TRUE(scan::linkToArchive(airport, Publishers().lists(), folder.path(), messages));
        EXPECT_EQ(readFile(folder / c.linkFile), std::string(c.link) + "\n");
        EXPECT_EQ(messages, c.messages);
    }
}

TEST(ArchiveLink, AnAirportTheArchiveLacksIsLeftForDecoding) {
    const struct {
        const char* code;
        const char* path;
        const char* publisher;
        std::vector<std::string> messages;
    } cases[] = {
        {"EGLL", "/Orbx/EGLL/ad.bgl", "simaddon",
         {"from filename => publisher simaddon", "EGLL does not exist as simaddon"}},
        {"KJFK", "/sdv/kjfk/ad.bgl", "Some Dev", {"thirdparty Some Dev KJFK does not exist"}},
        {"EGLL", "/unknown/egll/ad.bgl", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TempFolder folder;
        scan::ScanMessages messages;
        scan::ScannedAirport airport = airportAt(c.code, c.path);
        EXPECT_FALSE(scan::linkToArchive(airport, Publishers().lists(), folder.path(), messages));
        EXPECT_EQ(airport.publisher, c.publisher);
        EXPECT_EQ(messages, c.messages);
        EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    }
}

TEST(GeneratedAirportFile, WritesSortedStandsIntoThePublishersFolder) {
    TempFolder folder;
    scan::ScanMessages messages;
    scan::ScannedAirport airport = airportAt("EHAM", "/orbx/ad.bgl");
    airport.publisher = "simaddon";
    for (const char* id : {"g2", "helipad1", "A10", "g10"}) airport.stands.push_back(standNamed(id));
    std::filesystem::path written;
    std::vector<std::string> order;
    scan::generateAirportFile(
        airport, 1, folder.path(),
        [&](const std::filesystem::path& path, const scan::ScannedAirport& a) {
            written = path;
            for (const auto& stand : a.stands) order.push_back(stand.id);
            return true;
        },
        messages);
    EXPECT_EQ(written, folder / "my_ORBX/EHAM.xml");
    EXPECT_THAT(order, ElementsAre("A10", "g10", "g2", "helipad1"));
    EXPECT_THAT(messages, ElementsAre("Generated EHAM.xml: 4 positions of which 1 helipad"));
}

TEST(GeneratedAirportFile, ReportsAnAirportWithoutStandsAndAFailedWrite) {
    TempFolder folder;
    scan::ScanMessages messages;
    int writes = 0;
    const auto failingWriter = [&](const std::filesystem::path&, const scan::ScannedAirport&) {
        ++writes;
        return false;
    };
    scan::ScannedAirport empty = airportAt("EGKK", "/x/ad.bgl");
    scan::generateAirportFile(empty, 0, folder.path(), failingWriter, messages);
    EXPECT_EQ(writes, 0);
    scan::ScannedAirport one = airportAt("EGLL", "/x/ad.bgl");
    one.stands.push_back(standNamed("g1"));
    scan::generateAirportFile(one, 0, folder.path(), failingWriter, messages);
    EXPECT_THAT(messages,
                ElementsAre("EGKK has no stands", "Generated EGLL.xml: 1 position",
                            "===> Writing " + (folder / "my_thirdparty/EGLL.xml").string() +
                                " did not succeed"));
}

}  // namespace
}  // namespace corv::test
