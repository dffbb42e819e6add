#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "common/UserErrorException.hpp"
#include "scan/IcaoAirportCodes.hpp"
#include "scan/ScanFolderTree.hpp"
#include "scan/ScanFolders.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

TEST(ScanFolders, TakesTheSetFoldersInOrderAndLogsThem) {
    LogCapture log;
    const auto folders = scan::collectScanFolders({{"afolder0", ""},
                                                   {"afolder1", "/addons/b"},
                                                   {"afolder2", "/addons/a"},
                                                   {"afolder3", "/p3d/scenery/lowercase"}},
                                                  "/P3D/Scenery");
    EXPECT_THAT(folders, ElementsAre("/addons/b", "/addons/a", "/p3d/scenery/lowercase"));
    EXPECT_THAT(log.lines(), ElementsAre("From parameter afolder1: /addons/b",
                                         "From parameter afolder2: /addons/a",
                                         "From parameter afolder3: /p3d/scenery/lowercase"));
}

TEST(ScanFolders, AFolderInsideTheStockSceneryOrNoFolderAtAllIsAUserError) {
    try {
        scan::collectScanFolders({{"afolder0", "/addons"}, {"afolder1", "/P3D/Scenery/World"}},
                                 "/P3D/Scenery");
        FAIL() << "a stock folder was accepted";
    } catch (const UserErrorException& error) {
        EXPECT_EQ(error.code(), 42);
        EXPECT_EQ(error.message(),
                  "parameter afolder1 points to stock airports instead of add-on airports!");
    }
    try {
        scan::throwNoScanFolders();
    } catch (const UserErrorException& error) {
        EXPECT_EQ(error.code(), 49);
        EXPECT_EQ(error.message(),
                  "Exit Corvane_P3D first!   Then set one or more afolder "
                  "parameters to your add-on airports, see Manual 6.2");
    }
}

TEST(IcaoAirportCodes, ReadsTheDistinctCodesOfAllLines) {
    TempFolder folder;
    std::ofstream(folder / "ICAO_airports.txt") << "EHAM,EGLL\r\n\r\nkjfk\nEHAM\n";
    LogCapture log;
    const auto codes = scan::readIcaoAirportCodes(folder / "ICAO_airports.txt");
    EXPECT_THAT(codes, ElementsAre(common::FixedCode<4>("EGLL"), common::FixedCode<4>("EHAM"),
                                   common::FixedCode<4>("KJFK")));
    EXPECT_THAT(log.lines(), ElementsAre("3 ICAO codes of airports read"));

    std::ofstream(folder / "bad.txt") << "EHAM,EGL\n";
    EXPECT_THROW(scan::readIcaoAirportCodes(folder / "bad.txt"), std::invalid_argument);
    try {
        scan::readIcaoAirportCodes(folder / "missing.txt");
        FAIL() << "a missing list was accepted";
    } catch (const UserErrorException& error) {
        EXPECT_EQ(error.code(), 522);
        EXPECT_EQ(error.message(), "File '" + (folder / "missing.txt").string() + "' is missing?");
    }
}

class ScanFolderTree : public ::testing::Test {
  protected:
    void touch(const char* relative) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    scan::FolderWalk walk(bool stop = false) {
        return {
            (root / "P3D/Scenery").string(),
            [this](const std::string& text) { shown.push_back(text); },
            [stop] { return stop; },
            [](const scan::SceneryFile& file, std::vector<std::uint8_t>&) {
                return file.name == "terrain.bgl" ? std::nullopt
                                                  : std::optional(std::span<const std::uint8_t>());
            },
            [this](const std::string& path, std::span<const std::uint8_t>) {
                if (fs::path(path).filename() == "broken.bgl")
                    throw std::runtime_error("read past");
                processed.push_back(fs::relative(path, root).string());
            },
            [this](std::size_t done, std::size_t total) { progress.emplace_back(done, total); }};
    }

    TempFolder folder;
    fs::path root = folder.path();
    std::vector<std::string> shown;
    std::vector<std::string> processed;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    scan::ScanMessages messages;
};

TEST_F(ScanFolderTree, HandsOnTheAirportSceneryFilesBelowTheFolder) {
    for (const char* file :
         {"a/scenery/ad.bgl", "a/scenery/Airport_Statics.bgl", "a/statics/x.bgl", "a/x_statics.bgl",
          "b/UPPER.BGL", "b/readme.txt", "b/terrain.bgl", "b/broken.bgl",
          "p3d/scenery/world/stock.bgl", "c/immersive-lights/ad.bgl"})
        touch(file);
    scan::scanFolderTree(root, walk(), messages);
    std::sort(processed.begin(), processed.end());
    EXPECT_THAT(processed,
                ElementsAre("a/scenery/Airport_Statics.bgl", "a/scenery/ad.bgl", "b/UPPER.BGL"));
    const std::string banner = "\n***** Scanning for addon airports in:\n" + root.string() + "\n";
    EXPECT_THAT(shown, ElementsAre(banner));
    EXPECT_THAT(messages, ElementsAre(banner, "===>  airports search in folder " + root.string() +
                                                  " aborted, cause: read past"));
    // Counted against every scenery file the walk looks into, failed and non-airport ones too.
    EXPECT_THAT(progress,
                ElementsAre(std::pair<std::size_t, std::size_t>{1, 5}, ::testing::_, ::testing::_,
                            ::testing::_, std::pair<std::size_t, std::size_t>{5, 5}));
}

TEST_F(ScanFolderTree, EndsWhenAStopIsRequested) {
    touch("a/ad.bgl");
    scan::scanFolderTree(root, walk(true), messages);
    EXPECT_TRUE(processed.empty());
}

}  // namespace
}  // namespace corv::test
