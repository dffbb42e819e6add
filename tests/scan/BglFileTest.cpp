#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "scan/AirportBglRead.hpp"
#include "scan/ScanHarness.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

Bytes gateAirport(std::string_view ident, bool extended = false) {
    return airportRecord(ident, extended, 0,
                         {parkingListRecord(extended, {{10, 8, 1, {}, 20.0F, 90.0F, 52.3, 4.7}})});
}

TEST(BglFile, OnlyAirportSectionsOfAFileWithTheRightHeaderAreRead) {
    const struct {
        const char* what;
        Bytes file;
        std::size_t airports;
    } cases[] = {
        {"airport section", bglFile({Section{3, 0, {gateAirport("EHAM")}}}), 1},
        {"header size 60", bglFile({Section{3, 0, {gateAirport("EHAM")}}}, 60), 0},
        {"section flag 0x10000", bglFile({Section{3, 0x10000, {gateAirport("EHAM")}}}), 0},
        {"other section type", bglFile({Section{4, 0, {gateAirport("EHAM")}}}), 0},
        {"no sections", bglFile({}), 0},
        {"airport after other records",
         bglFile({Section{3, 0, {record(0x99, 20), gateAirport("EGLL", true)}}}), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded decoded = decodeBytes(c.file);
        EXPECT_EQ(decoded.airports.size(), c.airports);
        EXPECT_THAT(decoded.messages, IsEmpty());
    }
}

TEST(BglFile, IdentsOutsideTheCatalogueAreReportedOnlyWhenTheyHaveFourCharacters) {
    const Decoded decoded = decodeBytes(bglFile({Section{
        3,
        0,
        {gateAirport("NL3"), gateAirport("ZZZZ"), gateAirport("EGLL"), gateAirport("EHAM")}}}));
    ASSERT_EQ(decoded.airports.size(), 2U);
    EXPECT_EQ(decoded.airports[0].code.view(), "EGLL");
    EXPECT_EQ(decoded.airports[1].code.view(), "EHAM");
    EXPECT_THAT(decoded.messages, ElementsAre("ZZZZ is not an airport supported by RealTraffic"));
}

TEST(BglFile, AnAirportLinkedToTheArchiveIsNotDecoded) {
    Decoded decoded;
    scan::AirportScanSteps steps = recordingSteps(decoded);
    steps.linkToArchive = [](scan::ScannedAirport& airport) {
        return airport.code.view() == "EHAM";
    };
    scan::processBglBytes(bglFile({Section{3, 0, {gateAirport("EHAM"), gateAirport("EGLL")}}}),
                          "x.bgl", decoded.messages, steps);
    ASSERT_EQ(decoded.airports.size(), 1U);
    EXPECT_EQ(decoded.airports[0].code.view(), "EGLL");
}

TEST(BglFile, SectionsSharingTheirRecordsReadEachAirportOnce) {
    Bytes file = bglFile({Section{3, 0, {gateAirport("EHAM")}}, Section{3, 0, {}},
                          Section{3, 0, {gateAirport("EGLL")}}});
    // Point every section at the first section's records, as a damaged or hostile file may.
    putU32(file, 56 + 20 * 1 + 12, 56 + 20 * 3);
    putU32(file, 56 + 20 * 2 + 12, 56 + 20 * 3);
    const Decoded decoded = decodeBytes(file);
    ASSERT_EQ(decoded.airports.size(), 2U);
    EXPECT_EQ(decoded.airports[0].code.view(), "EHAM");
    EXPECT_EQ(decoded.airports[1].code.view(), "EGLL");
}

// Damaged files end without reading outside the buffer (the sanitizer build watches) and
// without hanging: either quietly, with a log line, or with an out-of-range error for the file.
TEST(BglFile, DamagedFilesAreReportedAndSkipped) {
    const Bytes good = bglFile({Section{3, 0, {gateAirport("EHAM")}}});
    const std::size_t airport = good.size() - gateAirport("EHAM").size();
    const std::size_t list = airport + 56;
    const struct {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        bool isU16;
        bool throws;
        std::size_t stands;
        std::vector<std::string> logLines;
    } cases[] = {
        {"section count past the end", 20, 1000, false, false, 0, {}},
        {"subsection past the end", 56 + 12, 0xFFFFFFF0, false, false, 0, {}},
        {"first record past the end", 76 + 8, 0xFFFFFFF0, false, false, 0, {}},
        {"airport length zero",
         airport + 2,
         0,
         false,
         false,
         0,
         {"==>    Warning: decodeSizeAtBoundary returned 0 at o2 = 23"}},
        {"airport length past the end", airport + 2, 0x7FFFFFF0, false, false, 1, {}},
        {"parking list length zero",
         list + 2,
         0,
         false,
         false,
         0,
         {"==>    Warning: decodeSizeAtBoundary returned 0 at o3 = 37",
          "   Warning: decodeSizeAtBoundary returned 0 at o3 = 37"}},
        {"parking list shorter than its entry", list + 2, 16, false, true, 0, {}},
        {"parking count past the list's end", list + 6, 0xFFFF, true, false, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = good;
        if (c.isU16)
            putU16(file, c.at, static_cast<std::uint16_t>(c.value));
        else
            putU32(file, c.at, c.value);
        LogCapture log;
        Decoded decoded;
        if (c.throws) {
            EXPECT_THROW(
                scan::processBglBytes(file, "bad.bgl", decoded.messages, recordingSteps(decoded)),
                std::out_of_range);
        } else {
            EXPECT_NO_THROW(
                scan::processBglBytes(file, "bad.bgl", decoded.messages, recordingSteps(decoded)));
        }
        EXPECT_EQ(log.lines(), c.logLines);
        std::size_t stands = 0;
        for (const auto& decodedAirport : decoded.airports)
            stands += decodedAirport.stands.size();
        EXPECT_EQ(stands, c.stands);
    }
}

TEST(BglFile, AnEndlessChainOfRecordsStopsAtTheIterationLimit) {
    std::vector<Bytes> records(9100, record(0x99, 8));
    LogCapture log;
    const Decoded decoded = decodeBytes(bglFile({Section{3, 0, records}}));
    EXPECT_THAT(log.lines(),
                ElementsAre("==> Error: maximum loop iterations 9000 reached (2) \x97 possible "
                            "corrupt BGL or malformed input in:",
                            "'test.bgl'"));
}

TEST(BglFile, ProcessingAFileLogsAndPassesOnItsError) {
    TempFolder folder;
    Bytes file = bglFile({Section{3, 0, {gateAirport("EHAM")}}});
    putU32(file, file.size() - gateAirport("EHAM").size() + 56 + 2, 16);  // parking list length
    const std::string path = "bad.bgl";
    LogCapture log;
    Decoded decoded;
    EXPECT_THROW(scan::lf_processBGLfile(file, path, decoded.messages, recordingSteps(decoded)),
                 std::out_of_range);
    ASSERT_EQ(log.lines().size(), 1U);
    EXPECT_THAT(log.lines()[0],
                ::testing::StartsWith("==> Exception in lf_processBGLfile (std::ex): " + path +
                                      " \x97 BGL read"));
}

TEST(BglFile, OnlyFilesWithAnAirportSectionAreReadWhole) {
    TempFolder folder;
    const auto write = [&](const char* name, const Bytes& bytes) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return folder / name;
    };
    std::vector<std::uint8_t> buffer;
    const auto read = [&](const std::filesystem::path& path) {
        platform::ReadOnlyFile file(path.c_str());
        return scan::readAirportBgl(file, buffer);
    };
    Bytes tooManySections = bglFile({Section{4, 0, {}}, Section{3, 0, {}}});
    putU32(tooManySections, 20, 50);
    EXPECT_TRUE(read(write("second.bgl", bglFile({Section{4, 0, {}}, Section{3, 0, {}}}))));
    // Header size and flags are not looked at.
    EXPECT_TRUE(read(write("flagged.bgl", bglFile({Section{3, 0x10000, {}}}, 60))));
    EXPECT_FALSE(read(write("terrain.bgl", bglFile({Section{101, 0, {}}}))));
    EXPECT_FALSE(read(write("count.bgl", tooManySections)));
    EXPECT_FALSE(read(write("short.bgl", Bytes(56, 0))));
    EXPECT_FALSE(read(folder / "missing.bgl"));

    // Larger than one read, after a smaller file in the same buffer: every byte, no stale one.
    Bytes large = bglFile({Section{3, 0, {gateAirport("EHAM")}}});
    for (std::size_t i = 0; large.size() < 200'000; ++i)
        large.push_back(static_cast<std::uint8_t>(i));
    const auto bytes = read(write("large.bgl", large));
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), large.begin(), large.end()));
    const Bytes small = bglFile({Section{3, 0, {}}});
    EXPECT_EQ(read(write("small.bgl", small))->size(), small.size());
    // Many section headers reach past the first read; the airport section is the last.
    std::vector<Section> sections(4000, Section{101, 0, {}});
    sections.push_back(Section{3, 0, {}});
    EXPECT_TRUE(read(write("sections.bgl", bglFile(sections))));
}

}  // namespace
}  // namespace corv::test
