#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "services/FileGenerations.hpp"
#include "services/FileHelpers.hpp"
#include "services/Folders.hpp"
#include "services/ShellOpen.hpp"
#include "support/Eventually.hpp"
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

// The desktop opener on PATH, for the life of the object: a script of the test's making, or
// none at all.
class FakeOpener {
  public:
    explicit FakeOpener(const std::string& script) {
        std::string path = bin_.path().string();
        if (!script.empty()) {
            test::writeFile(bin_ / "xdg-open", "#!/bin/sh\n" + script);
            fs::permissions(bin_ / "xdg-open", fs::perms::owner_all);
            path += ":" + oldPath_;  // the script's own commands
        }
        ::setenv("PATH", path.c_str(), 1);
    }
    ~FakeOpener() { ::setenv("PATH", oldPath_.c_str(), 1); }

  private:
    test::TempFolder bin_;
    std::string oldPath_ = std::getenv("PATH");
};

struct ShellOpenTest : ::testing::Test {
    ShellOpenTest() { fs::create_directories(install / "docs"); }

    test::TempFolder install;
    std::vector<std::string> boxes;
    const WarningBox warn = [this](std::string_view caption, std::string_view text) {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
    };
};

TEST_F(ShellOpenTest, FailureShowsTheWarningBox) {
    struct Case {
        const char* name;
        bool manualExists;
        bool openerExists;
    };
    const Case cases[] = {{"no manual", false, true}, {"no desktop opener", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        if (c.manualExists) test::writeFile(install / "docs" / "Manual.pdf", "%PDF");
        FakeOpener opener(c.openerExists ? "exit 0\n" : "");
        EXPECT_FALSE(openManual(install.path(), warn));
        EXPECT_EQ(boxes,
                  std::vector<std::string>{"Corvane|Could not open local folder with Manual"});
    }
}

TEST_F(ShellOpenTest, OpeningDoesNotWaitForTheViewerAndLeavesNoZombie) {
    const fs::path manual = install / "docs" / "Manual.pdf";
    test::writeFile(manual, "%PDF");
    // A viewer that stays open until the test lets it go.
    FakeOpener opener(
        fmt::format("echo \"$1\" > '{0}/opened'\n"
                    "while [ ! -e '{0}/release' ]; do sleep 0.05; done\n",
                    install.path().string()));
    auto opening = std::async(std::launch::async, [&] { return openManual(install.path(), warn); });
    const bool returned = test::eventually(
        [&] { return opening.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    test::writeFile(install / "release", "");
    EXPECT_TRUE(returned);
    EXPECT_TRUE(opening.get());
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(test::eventually(
        [&] { return test::readFile(install / "opened") == manual.string() + "\n"; }));
    // Once the viewer has ended no child of ours is left, not even an unreaped one.
    EXPECT_TRUE(test::eventually([] {
        siginfo_t info{};
        return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
    }));
}

}  // namespace
}  // namespace corv::services
