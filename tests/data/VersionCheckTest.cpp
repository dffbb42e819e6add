#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "common/ProgramIdentity.hpp"
#include "data/UpdateSiteFixture.hpp"
#include "data/VersionCheck.hpp"
#include "settings/ParameterTable.hpp"
#include "support/StoredParameters.hpp"

namespace corv::data {
namespace {

namespace fs = std::filesystem;
using settings::DBASE_VERSION;

struct VersionCheckTest : test::UpdateSiteFixture {
    bool check() { return VersionCheck(context()).checkForUpdates(); }
    fs::path parameters() const { return config / "parameters.xml"; }
    bool requested(const std::string& sitePath) const {
        const auto all = server.requests();
        return std::find(all.begin(), all.end(), sitePath) != all.end();
    }
};

TEST_F(VersionCheckTest, MissingKeyIsReportedAndTheOthersAreProcessed) {
    publishVersions({{"p3d_app", "6.0.9"},
                     {"airports", "1.0.2"},
                     {"liveries", "1.0.0"},
                     {"addons", "2.1.0"},
                     {"dbase", "3.0.0"}});
    publish("downloads/6/airports.enc", "new airports");
    publish("downloads/6/dbase.enc", "new dbase");
    settings::SCAN_LIVERIES.setCurrent(false);
    settings::SCAN_AIRPORTS.setCurrent(false);

    EXPECT_TRUE(check());

    EXPECT_TRUE(logged.contains("aig version not found"));
    EXPECT_EQ(test::storedValue(parameters(), "AIG_VERSION"), "");
    EXPECT_EQ(test::readFile(install / "input" / "airports.enc"), "new airports");
    EXPECT_EQ(test::readFile(install / "input" / "dbase.enc"), "new dbase");
    EXPECT_EQ(test::storedValue(parameters(), "AIRPORTS_VERSION"), "1.0.2");
    EXPECT_EQ(test::storedValue(parameters(), "DBASE_VERSION"), "3.0.0");
    EXPECT_TRUE(logged.contains("dbase updated to 3.0.0"));
    // Newer livery and add-on data is not downloaded: it makes this start rescan.
    EXPECT_TRUE(settings::SCAN_LIVERIES.value());
    EXPECT_TRUE(settings::SCAN_AIRPORTS.value());
    EXPECT_EQ(test::storedValue(parameters(), "SCAN_AIRPORTS"), "true");
    EXPECT_EQ(test::storedValue(parameters(), "ADDONS_SCAN_VERSION"), "2.1.0");
    EXPECT_FALSE(fs::exists(install / "versions.json"));
}

TEST_F(VersionCheckTest, EqualVersionFetchesTheDataFileOnlyWhenItIsMissing) {
    for (const bool present : {false, true}) {
        SCOPED_TRACE(present ? "present" : "missing");
        publishVersions({{"dbase", "3.0.0"}});
        publish("downloads/6/dbase.enc", "site dbase");
        DBASE_VERSION.setCurrent("3.0.0");
        const fs::path local = install / "input" / "dbase.enc";
        fs::remove(local);
        if (present) test::writeFile(local, "local dbase");
        const std::size_t before = server.requests().size();

        EXPECT_TRUE(check());

        EXPECT_EQ(test::readFile(local), present ? "local dbase" : "site dbase");
        EXPECT_EQ(server.requests().size() - before, present ? 1u : 2u);
        EXPECT_EQ(logged.contains("dbase version up-to-date"), present);
    }
}

TEST_F(VersionCheckTest, FailedOrCutDownloadChangesNothing) {
    publishVersions({{"dbase", "3.1.0"}});
    server.cutShort("downloads/6/dbase.enc", 100);
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "404");
        if (cut) publish("downloads/6/dbase.enc", std::string(50000, 'd'));
        DBASE_VERSION.setCurrent("3.0.0");
        settings.saveText(DBASE_VERSION);
        test::writeFile(install / "input" / "dbase.enc", "old dbase");
        const std::string storedBefore = test::readFile(parameters());

        EXPECT_TRUE(check());

        EXPECT_EQ(test::readFile(install / "input" / "dbase.enc"), "old dbase");
        EXPECT_EQ(DBASE_VERSION.value(), "3.0.0");
        EXPECT_EQ(test::readFile(parameters()), storedBefore);
        EXPECT_TRUE(logged.contains(
            fmt::format("==> Downloading '{}' failed !", site.addressOf("downloads/6/dbase.enc"))));
    }
}

TEST_F(VersionCheckTest, NoVersionFileEndsTheCheckQuietly) {
    test::writeFile(install / "input" / "dbase.enc", "old dbase");

    EXPECT_TRUE(check());

    EXPECT_TRUE(logged.contains("Downloading version info from my web site failed!"));
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_FALSE(run.stopRequested);
}

// The site's own versions.json names the version of this build, so a normal start of it finds
// nothing newer to install.
TEST(SiteFilesTest, PublishedProgramVersionIsThisBuild) {
    std::ifstream in(fs::path(DOWNLOADS_FOLDER) / "versions.json");
    const nlohmann::json versions = nlohmann::json::parse(in);
    const nlohmann::json& program = versions.at("p3d_app");
    EXPECT_EQ(program.at("major").get<int>(), programVersionMajor);
    EXPECT_EQ(program.at("minor").get<int>(), programVersionMinor);
    EXPECT_EQ(program.at("patch").get<int>(), programVersionPatch);
    for (const char* key : {"airports", "aig", "liveries", "addons", "dbase"}) {
        EXPECT_TRUE(versions.at(key).at("patch").is_number_integer()) << key;
    }
}

}  // namespace
}  // namespace corv::data
