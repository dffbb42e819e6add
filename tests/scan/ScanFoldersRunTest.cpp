#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <zip.h>

#include <fstream>

#include "scan/ScanFoldersRun.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A working folder with one add-on folder; "processing" a scenery file writes what its name
// says into the airport folders, as the decoding would.
class ScanFoldersRun : public ::testing::Test {
  protected:
    ScanFoldersRun() {
        paths.workingFolder = folder.path();
        fs::create_directories(paths.orbxFolder());
        fs::create_directories(paths.thirdPartyFolder());
        fs::create_directories(paths.collectionFolder());
        fs::create_directories(addons);
    }
    void scenery(const char* name) { std::ofstream(addons / name) << "x"; }
    bool run(std::vector<fs::path> folders) {
        const scan::FolderWalk walk{"",
                                    [this](const std::string& text) { shown.push_back(text); },
                                    [] { return false; },
                                    [](const scan::SceneryFile&, std::vector<std::uint8_t>&) {
                                        return std::optional(std::span<const std::uint8_t>());
                                    },
                                    [this](const std::string& path, std::span<const std::uint8_t>) {
                                        // "EGLL.xml.bgl" leaves my_thirdparty/EGLL.xml behind, and
                                        // so on.
                                        const fs::path written = fs::path(path).stem();
                                        const fs::path target =
                                            written.extension() == ".orbx"
                                                ? paths.orbxFolder() / written.stem()
                                                : paths.thirdPartyFolder() / written;
                                        std::ofstream(target) << "<root/>";
                                    },
                                    [](std::size_t, std::size_t) {}};
        const scan::ScanDisplay display{[this](const std::string& text) { shown.push_back(text); },
                                        [] {},
                                        [this](std::size_t orbx, std::size_t thirdParty) {
                                            counts = {orbx, thirdParty};
                                        },
                                        [this](std::int64_t count) { mailRequest = count; }};
        return scan::scanFolders(
            folders, paths, walk, display, [](const common::FixedCode<4>&) { return true; },
            messages, mailCount);
    }

    TempFolder folder;
    scan::ScanPaths paths;
    fs::path addons = folder / "addons";
    std::vector<std::string> shown;
    std::pair<std::size_t, std::size_t> counts;
    std::int64_t mailRequest = -1;
    std::int64_t mailCount = -1;
    scan::ScanMessages messages;
};

TEST_F(ScanFoldersRun, GeneratedAirportsAreZippedForMailing) {
    scenery("EGLL.xml.bgl");
    scenery("EGKK.xml.bgl");
    LogCapture log;
    EXPECT_TRUE(run({addons}));
    EXPECT_EQ(mailCount, 2);
    EXPECT_EQ(mailRequest, 2);
    std::vector<std::string> collected;
    for (const auto& entry : fs::directory_iterator(paths.collectionFolder()))
        collected.push_back(entry.path().filename().string());
    EXPECT_THAT(collected, ElementsAre("tblo.zip"));
    zip_t* archive = zip_open((paths.collectionFolder() / "tblo.zip").c_str(), ZIP_RDONLY, nullptr);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(zip_get_num_entries(archive, 0), 2);
    zip_close(archive);
    EXPECT_EQ(counts, std::make_pair(std::size_t{0}, std::size_t{2}));
    EXPECT_THAT(readFile(paths.scanLog()), ::testing::EndsWith("\nAirpoprts scan finished!\n"));
    EXPECT_THAT(messages, IsEmpty());
}

TEST_F(ScanFoldersRun, LinkedAirportsNeedNoMailAndOrbxAloneIsNoFind) {
    scenery("EGLL.txt.bgl");
    LogCapture log;
    EXPECT_TRUE(run({addons}));
    EXPECT_EQ(mailCount, 0);
    EXPECT_EQ(mailRequest, -1);
    EXPECT_THAT(log.lines(), Contains("All your simaddon and third party airports are recognised, "
                                      "no off line learning needed."));

    fs::remove_all(addons);
    fs::create_directories(addons);
    fs::remove(paths.thirdPartyFolder() / "EGLL.txt");
    scenery("EHAM.txt.orbx.bgl");
    EXPECT_FALSE(run({addons}));
    EXPECT_EQ(counts, std::make_pair(std::size_t{1}, std::size_t{0}));
}

TEST_F(ScanFoldersRun, MissingFoldersAndFilesAreSkippedWithAMessage) {
    std::ofstream(folder / "file.txt") << "x";
    scenery("EGLL.xml.bgl");
    EXPECT_TRUE(run({folder / "gone", folder / "file.txt", addons}));
    EXPECT_THAT(shown,
                ElementsAre((folder / "gone").string() + " does not exist, skipped!",
                            (folder / "file.txt").string() + " is not a folder name, skipped!",
                            "\n***** Scanning for addon airports in:\n" + addons.string() + "\n"));
}

}  // namespace
}  // namespace corv::test
