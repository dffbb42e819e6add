#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/UserErrorException.hpp"
#include "liveries/LiveriesScannedFile.hpp"
#include "liveries/ReferenceData.hpp"
#include "liveries/ScanReports.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

namespace fs = std::filesystem;

struct LiveriesScannedTest : ::testing::Test {
    LiveryData livery(const std::string& title, const char* airline, const char* op,
                      const char* model, bool cargo, const std::string& registration) {
        LiveryData data;
        data.title = title;
        data.airline = reference.internAirline(airline);
        data.operatorIndex = *op != '\0' ? reference.internAirline(op) : 0;
        data.model = reference.internModel(model);
        data.cargo = cargo;
        data.registration = registration;
        data.folderRank = 2;
        return data;
    }

    test::LogCapture logged;
    test::TempFolder folder;
    fs::path file = folder / "output" / "LiveriesScanned.xml";
    ReferenceData reference;
};

TEST_F(LiveriesScannedTest, AScanReadsBackAsItWasWrittenSortedByTitle) {
    const std::vector<LiveryData> scanned{
        livery("KLM Cityhopper E190 PH-EZA", "KLM", "KLC", "E190", false, "PH-EZA"),
        livery("Generic A320", "ZZZ", "", "A320", false, ""),
        livery("Atlas 747 Freighter", "GTI", "", "B744", true, "N263SG"),
    };
    writeLiveriesScanned(file, scanned, reference, 5);
    EXPECT_TRUE(logged.contains("3 liveries in " + file.string()));
    const std::string text = test::readFile(file);
    EXPECT_NE(text.find(R"(<l a="ZZZ" m="A320" t="Generic A320" />)"), std::string::npos) << text;
    EXPECT_NE(
        text.find(R"(<l a="KLM" o="KLC" m="E190" t="KLM Cityhopper E190 PH-EZA" r="PH-EZA" />)"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("<meta>"), std::string::npos);

    ReferenceData again;
    const std::vector<LiveryData> read = readLiveriesScanned(file, again);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].title, "Atlas 747 Freighter");
    EXPECT_TRUE(read[0].cargo);
    EXPECT_EQ(read[0].registration, "N263SG");
    EXPECT_EQ(again.modelText(read[0].model), "B744");
    EXPECT_EQ(read[1].title, "Generic A320");
    EXPECT_EQ(read[1].operatorIndex, 0);
    EXPECT_EQ(read[2].title, "KLM Cityhopper E190 PH-EZA");
    EXPECT_EQ(again.airlineText(read[2].operatorIndex), "KLC");
    EXPECT_EQ(read[2].folderRank, 0);
    EXPECT_TRUE(logged.contains("    3 liveries read from " + file.string()));
}

TEST_F(LiveriesScannedTest, ADamagedFileSaysWhatIsWrongSoThatTheProgramScansAgain) {
    struct Case {
        const char* content;  // nullptr: no file
        int code;
        std::string message;
    };
    const Case cases[] = {
        {nullptr, 51, "File " + file.string() + " not found"},
        {"<root><liveries><l a=\"KLM\"", 51, "File " + file.string() + " not found"},
        {"<root><other/></root>", 52, file.string() + " does not contain a <liveries> section"},
        {"<root><liveries><l a=\"KLM\" t=\"x\"/></liveries></root>", 999,
         "Missing required attribute 'm' in <l>"},
        {"<root><liveries><x a=\"KLM\" m=\"\" t=\"x\"/></liveries></root>", 999,
         "Missing required attribute 'm' in <x>"},
        {"<root><liveries></liveries></root>", 533, file.string() + " does not contain liveries"},
    };
    fs::create_directories(file.parent_path());
    for (const Case& c : cases) {
        fs::remove(file);
        if (c.content != nullptr) test::writeFile(file, c.content);
        try {
            readLiveriesScanned(file, reference);
            ADD_FAILURE() << "no error for " << (c.content ? c.content : "no file");
        } catch (const UserErrorException& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST(ScanReports, EachNonEmptyListIsWrittenSortedAndSummed) {
    test::LogCapture logged;
    test::TempFolder folder;
    CfgReport report;
    report.invalidAirlines = {"XYZ          in b/aircraft.cfg", "ABC          in a/aircraft.cfg"};
    report.fixes = {"Model fix: B73H found in a/aircraft.cfg changed into B738"};
    report.filesWithoutSections = {"c/aircraft.cfg"};
    writeScanReports(report, folder / "errors", folder / "info");

    EXPECT_EQ(test::readFile(folder / "errors" / "InvalidAirlineCodes.txt"),
              "ABC          in a/aircraft.cfg\nXYZ          in b/aircraft.cfg\n");
    EXPECT_TRUE(fs::exists(folder / "errors" / "Fixes.txt"));
    EXPECT_FALSE(fs::exists(folder / "errors" / "InvalidAircraftCodes.txt"));
    EXPECT_EQ(test::readFile(folder / "info" / "AircraftCfgWithNoFltsimSection.txt"),
              "c/aircraft.cfg\n");
    for (const std::string& line :
         {std::string("Errors:"),
          "    2 invalid airline codes, see " +
              (folder / "errors" / "InvalidAirlineCodes.txt").string(),
          "    1 fixes, see " + (folder / "errors" / "Fixes.txt").string(),
          std::string("Information:"),
          "    1 empty aircraft.cfg files, see " +
              (folder / "info" / "AircraftCfgWithNoFltsimSection.txt").string()}) {
        EXPECT_TRUE(logged.contains(line)) << line;
    }

    test::LogCapture clean;
    writeScanReports(CfgReport{}, folder / "errors2", folder / "info2");
    EXPECT_TRUE(clean.contains("No errors"));
    EXPECT_FALSE(fs::exists(folder / "errors2"));
}

}  // namespace
}  // namespace corv::liveries
