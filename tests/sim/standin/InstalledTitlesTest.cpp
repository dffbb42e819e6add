#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sim/standin/InstalledTitles.hpp"
#include "support/TempFolder.hpp"

namespace corv::sim::standin {
namespace {

std::string utf16leWithBom(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(InstalledTitles, AreTheFltsimTitlesOfEveryConfigBelowTheFolders) {
    corv::test::TempFolder root;
    const auto simObjects = root / "SimObjects";
    const auto liveries = root / "liveries";
    std::filesystem::create_directories(simObjects / "a" / "b");
    std::filesystem::create_directories(liveries / "c");
    corv::test::writeFile(simObjects / "a" / "b" / "aircraft.cfg",
                          "// [fltsim.9]\n[FLTSIM.0]\r\ntitle =  Spaced Title \r\n"
                          "[General]\ntitle=Not A Livery\natc_model=B738\n"
                          "[Fltsim.1]\n//title=Commented Out\ntitle=Second\n");
    corv::test::writeFile(liveries / "c" / "aircraft.cfg",
                          utf16leWithBom("[fltsim.0]\r\ntitle=Wide Title\r\n"
                                         "[fltsim.1]\r\ntitle=Second\r\n"
                                         "[General]\r\natc_model=A20N\r\n"));
    corv::test::writeFile(liveries / "c" / "readme.txt", "[fltsim.0]\ntitle=Not A Config\n");

    const auto titles = findInstalledTitles({simObjects, liveries, root / "missing"});
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles.at("Spaced Title").atcModel, "B738");
    EXPECT_EQ(titles.at("Wide Title").atcModel, "A20N");
    EXPECT_EQ(titles.at("Second").atcModel, "B738") << "the first folder names it first";
}

TEST(InstalledTitles, ReadsRealAircraftConfigs) {
    const char* shared = std::getenv("CORV_SHARED_DATA");
    const std::filesystem::path file =
        std::filesystem::path(shared ? shared : "") / "liveries" / "UTLive_A320_aircraft.cfg";
    if (!shared || !std::filesystem::exists(file)) {
        GTEST_SKIP() << "real aircraft.cfg files not found at " << file;
    }
    std::map<std::string, InstalledTitle> titles;
    readAircraftConfig(file, titles);
    EXPECT_GT(titles.size(), 100u);
    const auto& first = titles.at("UTLive_320_Daedalus");
    EXPECT_EQ(first.atcModel, "A320");
    EXPECT_EQ(first.maxGrossWeightLbs, 150000.0);
}

}  // namespace
}  // namespace corv::sim::standin
