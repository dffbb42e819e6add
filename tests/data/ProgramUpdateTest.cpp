#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/UpdateNotice.hpp"
#include "data/UpdateSiteFixture.hpp"
#include "data/VersionCheck.hpp"
#include "data/ZipArchive.hpp"

namespace corv::data {
namespace {

namespace fs = std::filesystem;

constexpr const char* archiveSitePath = "downloads/release/Corvane_P3D/latest_version.zip";

// More than two unzip blocks, in bytes that do not compress away.
std::string installerBytes() {
    std::string bytes(1200000, '\0');
    unsigned value = 12345;
    for (char& byte : bytes) {
        value = value * 1103515245u + 12345u;
        byte = static_cast<char>(value >> 16);
    }
    return bytes;
}

struct ProgramUpdateTest : test::UpdateSiteFixture {
    void publishArchive(const std::string& entryBytes) {
        const fs::path archive = siteRoot / archiveSitePath;
        fs::create_directories(archive.parent_path());
        const std::vector<char> bytes(entryBytes.begin(), entryBytes.end());
        ZipArchive zip(archive, ZipArchive::Mode::Create);
        ASSERT_TRUE(zip.add("setup.exe", bytes));
        ASSERT_TRUE(zip.close());
    }
    bool check() { return VersionCheck(context()).checkForUpdates(); }
    fs::path newVersion() const { return install / "new_version"; }
};

struct WebVersionCase {
    const char* web;
    bool update;
};

struct WebVersionTest : ProgramUpdateTest, ::testing::WithParamInterface<WebVersionCase> {};

// The program is 6.0.9; the parts are compared as numbers, not as text.
INSTANTIATE_TEST_SUITE_P(AgainstProgram609, WebVersionTest,
                         ::testing::Values(WebVersionCase{"6.1.0", true},
                                           WebVersionCase{"6.0.10", true},
                                           WebVersionCase{"7.0.0", true},
                                           WebVersionCase{"6.0.9", false},
                                           WebVersionCase{"5.10.10", false}));

TEST_P(WebVersionTest, NewerProgramIsUnpackedIntoNewVersionAndEndsTheRun) {
    publishVersions({{"p3d_app", GetParam().web}});
    const std::string installer = installerBytes();
    publishArchive(installer);
    publish("downloads/docs/ReleaseNotes.pdf", "notes");

    const bool goOn = check();

    if (!GetParam().update) {
        EXPECT_TRUE(goOn);
        EXPECT_FALSE(run.stopRequested);
        EXPECT_FALSE(fs::exists(newVersion()));
        EXPECT_EQ(server.requests(), std::vector<std::string>{"downloads/versions.json"});
        return;
    }
    EXPECT_FALSE(goOn);
    EXPECT_EQ(run.exitReason(), services::ExitReason::NewVersion);
    EXPECT_EQ(run.restartDelaySeconds(), 0);
    EXPECT_EQ(test::readFile(newVersion() / "install_new_version.exe"), installer);
    EXPECT_EQ(test::readFile(newVersion() / "ReleaseNotes.pdf"), "notes");
    EXPECT_EQ(test::readFile(newVersion() / "README.txt"), std::string(plainNotice) + "\n");
    EXPECT_EQ(shownInFileManager, std::vector<fs::path>{newVersion() / "install_new_version.exe"});
    // Nothing of the unpacking is left in the program folder.
    EXPECT_FALSE(fs::exists(install / "latest_version.zip"));
    EXPECT_FALSE(fs::exists(install / "install_new_version.exe"));
    EXPECT_FALSE(fs::exists(newVersion() / "install_new_version.exe.part"));
}

TEST_F(ProgramUpdateTest, ArchiveWithoutInstallerFailsAndTheRunGoesOn) {
    // The end record of an archive with no entries, and bytes that are no archive at all.
    const std::string emptyArchive = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    struct Case {
        std::string bytes;
        std::string logged;
    };
    const fs::path archive = install / "latest_version.zip";
    for (const Case& c : {Case{emptyArchive, "==> No installer in " + archive.string()},
                          Case{"not a zip", "==> Could not open " + archive.string()}}) {
        SCOPED_TRACE(c.logged);
        publishVersions({{"p3d_app", "6.1.0"}});
        publish(archiveSitePath, c.bytes);

        EXPECT_TRUE(check());

        EXPECT_TRUE(logged.contains(c.logged));
        EXPECT_FALSE(run.stopRequested);
        EXPECT_FALSE(fs::exists(newVersion() / "install_new_version.exe"));
        EXPECT_FALSE(fs::exists(install / "install_new_version.exe"));
        EXPECT_TRUE(shownInFileManager.empty());
        EXPECT_EQ(messages.texts().message,
                  "The downloading/unzipping of the new version failed? Try manually via the "
                  "Telvarin website");
    }
}

TEST_F(ProgramUpdateTest, MissingArchiveFailsAndTheRunGoesOn) {
    publishVersions({{"p3d_app", "6.1.0"}});

    EXPECT_TRUE(check());

    EXPECT_TRUE(logged.contains("Downloading program installer file version 6.1.0 failed"));
    EXPECT_FALSE(run.stopRequested);
    EXPECT_FALSE(fs::exists(newVersion()));
}

TEST(UpdateNoticeTest, AdministratorOnlyBelowProgramFilesUnwritableAndNotElevated) {
    const std::vector<fs::path> programFiles{"C:\\Program Files", "C:\\Program Files (x86)"};
    struct Case {
        const char* folder;
        bool writable;
        bool elevated;
        bool administrator;
    };
    for (const Case& c : {Case{"C:\\Program Files\\Corvane_P3D", false, false, true},
                          Case{"C:\\Program Files (x86)\\Corvane_P3D", false, false, true},
                          Case{"C:\\Program Files\\Corvane_P3D", true, false, false},
                          Case{"C:\\Program Files\\Corvane_P3D", false, true, false},
                          Case{"D:\\Games\\Corvane_P3D", false, false, false},
                          Case{"c:\\program files\\Corvane_P3D", false, false, false}}) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(installerNeedsAdministrator(c.folder, programFiles, c.elevated,
                                              [&] { return c.writable; }),
                  c.administrator);
    }
    // An unknown Program Files folder is no prefix of everything.
    EXPECT_FALSE(installerNeedsAdministrator("D:\\Corvane_P3D", {""}, false, [] { return false; }));
}

TEST(UpdateNoticeTest, WriteTestLeavesNothingBehind) {
    test::TempFolder folder;
    EXPECT_TRUE(canWriteIn(folder.path()));
    EXPECT_FALSE(canWriteIn(folder / "missing"));
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
}  // namespace corv::data
