#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <zip.h>

#include <algorithm>
#include <fstream>

#include "scan/OfflineLearning.hpp"
#include "scan/ZipFolder.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> zipEntries(const fs::path& zipPath) {
    std::vector<std::string> names;
    zip_t* archive = zip_open(zipPath.string().c_str(), ZIP_RDONLY, nullptr);
    if (!archive) return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        names.push_back(stat.name + std::string(":") + std::to_string(stat.size));
    }
    zip_close(archive);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(OfflineLearning, CollectsGeneratedSupportedAirportsAndDropsThoseWithALink) {
    TempFolder folder;
    const fs::path thirdParty = folder / "my_thirdparty";
    const fs::path tblo = folder / "tblo";
    fs::create_directories(thirdParty);
    fs::create_directories(tblo);
    for (const char* name :
         {"EGLL.xml", "EHAM.XML", "KJFK.xml", "ZZZZ.xml", "EGKK.txt", "EGKKX.xml", "readme.txt"})
        std::ofstream(thirdParty / name) << name;
    std::ofstream(thirdParty / "KJFK.txt") << "archive/thirdparty/Dev/KJFK.xml\n";

    scan::collectForOfflineLearning(
        thirdParty, tblo, [](const common::FixedCode<4>& code) { return code.view() != "ZZZZ"; });
    EXPECT_THAT(folderNames(tblo), ElementsAre("EGLL.xml", "EHAM.xml", "KJFK.xml"));
    EXPECT_EQ(readFile(tblo / "EHAM.xml"), "EHAM.XML");
    EXPECT_THAT(folderNames(thirdParty),
                ElementsAre("EGKK.txt", "EGKKX.xml", "EGLL.xml", "EHAM.XML", "KJFK.txt", "ZZZZ.xml",
                            "readme.txt"));
}

TEST(ZipFolder, ZipsTheFilesOfTheFolderIntoANewArchive) {
    TempFolder folder;
    const fs::path tblo = folder / "tblo";
    fs::create_directories(tblo / "sub");
    std::ofstream(tblo / "EGLL.xml") << "<root/>";
    std::ofstream(tblo / "EHAM.xml") << "<root>ab</root>";
    std::ofstream(tblo / "tblo.zip") << "old archive";
    std::ofstream(tblo / "sub" / "deeper.xml") << "not zipped";
    LogCapture log;
    EXPECT_TRUE(scan::zipFolder(tblo, tblo / "tblo.zip"));
    EXPECT_THAT(zipEntries(tblo / "tblo.zip"), ElementsAre("EGLL.xml:7", "EHAM.xml:15"));
    EXPECT_THAT(log.lines()[2], "[zip] Removing old zip " + (tblo / "tblo.zip").string());
    EXPECT_THAT(log.lines().back(),
                ::testing::StartsWith("[zip] Added 2 files, ok_close=true, exists=true, size="));
}

TEST(ZipFolder, AnEmptyOrMissingFolderGivesNoArchive) {
    TempFolder folder;
    fs::create_directories(folder / "empty");
    LogCapture log;
    EXPECT_FALSE(scan::zipFolder(folder / "empty", folder / "empty" / "tblo.zip"));
    EXPECT_FALSE(scan::zipFolder(folder / "missing", folder / "missing" / "tblo.zip"));
    EXPECT_EQ(log.lines().back(), "[zip] Not a directory: " + (folder / "missing").string());
}

TEST(ScanLog, WritesOneMessagePerLine) {
    TempFolder folder;
    EXPECT_TRUE(
        scan::writeScanLog(folder / "AirportsScanLog.txt",
                           {"EGLL has no stands", "thirdparty airport EGKK linked to x\n"}));
    EXPECT_EQ(readFile(folder / "AirportsScanLog.txt"),
              "EGLL has no stands\nthirdparty airport EGKK linked to x\n\n");
    EXPECT_FALSE(scan::writeScanLog(folder / "missing" / "log.txt", {}));
}

}  // namespace
}  // namespace corv::test
