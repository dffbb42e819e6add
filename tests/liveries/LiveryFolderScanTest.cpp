#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "liveries/DbaseXml.hpp"
#include "liveries/LiveryFolderScan.hpp"
#include "liveries/ReferenceData.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

struct LiveryFolderScanTest : ::testing::Test {
    LiveryFolderScanTest() {
        test::writeFile(folder / "dbase.xml", xml.text());
        EXPECT_TRUE(reference.readXml(folder / "dbase.xml"));
    }

    // An installed aircraft folder with one section per (title, airline).
    void aircraft(const fs::path& at, const std::string& model,
                  const std::vector<std::pair<std::string, std::string>>& liveries,
                  const std::string& name = "aircraft.cfg") {
        fs::create_directories(at / "model");
        fs::create_directories(at / "texture");
        test::writeFile(at / "jet.air", "");
        std::string text = "[General]\natc_model=" + model + "\n\n";
        int number = 0;
        for (const auto& [title, airline] : liveries) {
            text += "[fltsim." + std::to_string(number++) + "]\ntitle=" + title +
                    "\nsim=jet\nmodel=\ntexture=\natc_parking_codes=" + airline + "\n\n";
        }
        test::writeFile(at / name, text);
    }

    FolderScanResult scan(const std::vector<fs::path>& folders, bool prioritize = false) {
        TitlesSeen titlesSeen;
        CfgReadContext context{reference, titlesSeen, unusable};
        return scanLiveryFolders(folders, context, {prioritize, 2, [] { return false; }, {}});
    }

    static Strings titles(const FolderScanResult& result) {
        Strings found;
        for (const LiveryData& livery : result.liveries)
            found.push_back(livery.title);
        return found;
    }

    test::LogCapture logged;
    test::TempFolder folder;
    test::DbaseXml xml;
    ReferenceData reference;
    std::set<std::string, std::less<>> unusable;
};

TEST_F(LiveryFolderScanTest, EveryCfgBelowTheFoldersIsReadInFolderOrderAndSortedByTitle) {
    const fs::path first = folder / "first";
    const fs::path second = folder / "second";
    aircraft(first / "KLM 737", "B738", {{"KLM 737 b", "KLM"}, {"KLM 737 a", "KLM"}});
    aircraft(first / "deep" / "er" / "A320", "A320", {{"Generic A320", "ZZZ"}}, "SIM.CFG");
    aircraft(first / "airport EHAM" / "jet", "A320", {{"In an airport folder", "KLM"}});
    aircraft(first / "KLM 737" / "Texture.KLM", "B738", {{"In a texture folder", "KLM"}});
    aircraft(first / "Models" / "A320", "A320", {{"In a folder named like a part", "KLM"}});
    aircraft(first / "notes", "A320", {{"Not a cfg", "KLM"}}, "aircraft.txt");
    aircraft(second / "737", "B738", {{"Another KLM 737", "KLM"}});
    test::writeFile(folder / "a-file", "");

    const FolderScanResult result = scan({first, folder / "missing", folder / "a-file", second});
    EXPECT_EQ(titles(result),
              (Strings{"Another KLM 737", "Generic A320", "In a folder named like a part",
                       "KLM 737 a", "KLM 737 b"}));
    for (const LiveryData& livery : result.liveries)
        EXPECT_EQ(livery.folderRank, livery.title == "Another KLM 737" ? 2 : 1) << livery.title;
    for (const std::string& line :
         {"4 liveries found in " + first.string(),
          (folder / "missing").string() + " does not exist, skipped!",
          (folder / "a-file").string() + " is not a folder name, skipped!",
          "1 liverie found in " + second.string(), std::string("5 in total")}) {
        EXPECT_TRUE(logged.contains(line)) << line;
    }
}

TEST_F(LiveryFolderScanTest, PrioritizedTheFirstFolderKeepsAnAirlineAndType) {
    const fs::path first = folder / "first";
    const fs::path second = folder / "second";
    aircraft(first / "737", "B738", {{"KLM 737 first", "KLM"}});
    aircraft(second / "737", "B738", {{"KLM 737 second", "KLM"}, {"Transavia 737", "TRA"}});
    aircraft(second / "A320", "A320", {{"KLM A320 second", "KLM"}});

    EXPECT_EQ(titles(scan({first, second}, true)),
              (Strings{"KLM 737 first", "KLM A320 second", "Transavia 737"}));
    EXPECT_EQ(titles(scan({first, second}, false)),
              (Strings{"KLM 737 first", "KLM 737 second", "KLM A320 second", "Transavia 737"}));
}

TEST_F(LiveryFolderScanTest, ManyFilesAreReadByAFewReadersWithoutLosingOne) {
    const fs::path root = folder / "many";
    Strings expected;
    for (int i = 0; i < 40; ++i) {
        const std::string title =
            "KLM 737 " + std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(i);
        aircraft(root / std::to_string(i), "B738", {{title, "KLM"}});
        expected.push_back(title);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(titles(scan({root})), expected);
}

}  // namespace
}  // namespace corv::liveries
