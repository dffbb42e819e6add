#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/FileGenerations.hpp"
#include "services/FileHelpers.hpp"
#include "services/Folders.hpp"
#include "services/ShellOpen.hpp"
#include "support/LogCapture.hpp"

namespace corv::services {
namespace {

namespace fs = std::filesystem;

TEST(FileGenerations, OneGenerationCopiesToTheZeroName) {
    test::TempFolder folder;
    test::writeFile(folder / "parameters.xml", "current");
    test::writeFile(folder / "parameters0.xml", "older");
    EXPECT_TRUE(gf_save1GenerationOf(folder / "parameters.xml"));
    EXPECT_EQ(test::readFile(folder / "parameters0.xml"), "current");
    EXPECT_TRUE(gf_save1GenerationOf(folder / "absent.xml"));  // nothing to keep
    EXPECT_FALSE(fs::exists(folder / "absent0.xml"));
}

TEST(FileGenerations, PathsWithoutAFileDotAreRefusedOrMisnamed) {
    test::LogCapture logged;
    test::TempFolder folder;
    fs::create_directories(folder / "my.folder");
    test::writeFile(folder / "my.folder" / "README", "text");

    // The last dot of the whole path is in the folder name: the copy would go to
    // "my0.folder/README", a folder that does not exist.
    EXPECT_FALSE(gf_save1GenerationOf(folder / "my.folder" / "README"));
    const auto lines = logged.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("==> copy ")) << lines[0];

    EXPECT_FALSE(gf_saveUpto3GenerationsOf("nodot"));
    EXPECT_TRUE(logged.contains("==> gf_saveUpto3GenerationsOf: no dot in filename: nodot"));
}

TEST(FileHelpers, RemoveFilesKeepsSubfoldersAndMissingFoldersAreFine) {
    test::TempFolder folder;
    fs::create_directories(folder / "plans" / "keep");
    test::writeFile(folder / "plans" / "a.pln", "a");
    test::writeFile(folder / "plans" / "b.pln", "b");
    EXPECT_EQ(countFolderEntries(folder / "plans"), 3u);

    gf_removeFilesFromDirectory(folder / "plans");
    gf_removeFilesFromDirectory(folder / "absent");
    EXPECT_EQ(countFolderEntries(folder / "plans"), 1u);
    EXPECT_TRUE(fs::is_directory(folder / "plans" / "keep"));
    EXPECT_EQ(countFolderEntries(folder / "absent"), 0u);
}

TEST(FileHelpers, RemoveFileWarnOnlyWarns) {
    test::LogCapture logged;
    test::TempFolder folder;
    removeFileWarn(folder / "absent.xml");
    fs::create_directories(folder / "full" / "x");
    removeFileWarn(folder / "full");  // a non-empty folder cannot be removed as a file
    const auto lines = logged.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("Warning: could not remove ")) << lines[0];
}

TEST(Folders, TreeIsCreatedAndTheOldObjectListDeleted) {
    test::TempFolder install;
    fs::create_directories(install / "output" / "info");
    test::writeFile(install / "output" / "info" / "ObjectIdList.txt", "old");
    createFolderTree(install.path());
    for (const char* name : {"output/errors", "airports/learned/stock", "airports/learned/simaddon",
                             "airports/learned/thirdparty", "airports/my_ORBX",
                             "airports/my_thirdparty", "input/my_regcodes"}) {
        EXPECT_TRUE(fs::is_directory(install / name)) << name;
    }
    EXPECT_FALSE(fs::exists(install / "output" / "info" / "ObjectIdList.txt"));
}

TEST(ShellOpen, FailureShowsTheWarningBox) {
    test::TempFolder install;
    std::vector<std::string> boxes;
    const WarningBox warn = [&](std::string_view caption, std::string_view text) {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
    };
    EXPECT_FALSE(openManual(install.path(), warn));  // docs/Manual.pdf does not exist
    EXPECT_EQ(boxes, std::vector<std::string>{"Corvane|Could not open local folder with Manual"});
}

}  // namespace
}  // namespace corv::services
