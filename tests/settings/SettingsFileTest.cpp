#include <gtest/gtest.h>

#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "support/KillDuringSaves.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/StoredParameters.hpp"
#include "ui/HeadlessControls.hpp"

namespace corv::settings {
namespace {

namespace fs = std::filesystem;
using test::storedCount;
using test::storedValues;

std::string parametersXml(const std::string& elements, bool withRoot = true) {
    const std::string parameters = "<parameters>" + elements + "</parameters>";
    return "<?xml version=\"1.0\"?>" + (withRoot ? "<root>" + parameters + "</root>" : parameters);
}

std::string element(const std::string& name, const std::string& value) {
    return fmt::format("<parameter name=\"{}\" value=\"{}\"/>", name, value);
}

struct SettingsFileTest : ::testing::Test {
    SettingsFileTest() { test::resetParameters(); }
    ~SettingsFileTest() override { test::resetParameters(); }

    test::LogCapture logged;
    test::TempFolder folder;
    ui::HeadlessControls controls;
    std::atomic<bool> stopRequested{false};
    fs::path file = folder / "parameters.xml";
    SettingsFile settings{file, controls, stopRequested};
};

TEST_F(SettingsFileTest, MissingFileIsCreatedWithDefaults) {
    EXPECT_TRUE(settings.loadParameters());
    EXPECT_TRUE(logged.contains(file.string() + " not found, creating new with default values:"));
    EXPECT_EQ(storedCount(file), registeredParameters().size());
    EXPECT_EQ(storedValues(file, "PROGRAM_VERSION"), std::vector<std::string>{"12.6.0"});
    EXPECT_EQ(storedValues(file, "AIRP_HEIGHT"), (std::vector<std::string>{"18000", "18000"}));
    EXPECT_EQ(storedValues(file, "RANDOM"), std::vector<std::string>{"true"});
    EXPECT_TRUE(test::readFile(file).starts_with(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <parameters>\n"));
}

TEST_F(SettingsFileTest, LoadReadsClampsShowsAndAppendsMissing) {
    test::writeFile(
        file, parametersXml(element("SCAN_LIVERIES", "no") + element("GUID_CHANGES", "0") +
                            element("AEROWINX", "yes") + element("WEEK", "True") +
                            element("MAX_HOLDING_MINUTES", "0") + element("P3D_VERSION", "7") +
                            element("RANGE", "41") + element("AIRP_RANGE", "10") +
                            element("SIM_INSTALL_PATH", "C:\\P3D v5") +
                            element("BLOCK_CALLSIGN", "KLM123") + "<parameter name=\"RANDOM\"/>"));
    EXPECT_FALSE(settings.loadParameters());

    EXPECT_FALSE(SCAN_LIVERIES.value());
    EXPECT_FALSE(GUID_CHANGES.value());
    EXPECT_TRUE(AEROWINX.value());
    EXPECT_TRUE(WEEK.value());
    EXPECT_FALSE(RANDOM.value());  // no value attribute reads as false
    EXPECT_EQ(MAX_HOLDING_MINUTES.value(), 1);
    EXPECT_EQ(P3D_VERSION.value(), 6);
    EXPECT_EQ(RANGE.value(), 41);
    EXPECT_EQ(SIM_INSTALL_PATH.value(), "C:\\P3D v5");

    EXPECT_EQ(controls.control(AEROWINX.controlId).checked, true);
    EXPECT_EQ(controls.control(RANGE.controlId).selected, -1);
    EXPECT_EQ(controls.control(AIRP_RANGE.controlId).selected, 1);
    EXPECT_EQ(controls.control(BLOCK_CALLSIGN.controlId).text, "KLM123");

    EXPECT_TRUE(logged.contains("from '" + file.string() + "'"));
    EXPECT_TRUE(logged.contains("RANGE=41"));
    EXPECT_TRUE(logged.contains("SIM_INSTALL_PATH=\"C:\\P3D v5\""));
    EXPECT_TRUE(logged.contains(std::string(80, '*')));
    // The clamped value stays as read in the file; missing parameters were appended once.
    EXPECT_EQ(storedValues(file, "P3D_VERSION"), std::vector<std::string>{"7"});
    EXPECT_EQ(storedValues(file, "HELICOPTERS"), std::vector<std::string>{"true"});
    EXPECT_EQ(storedValues(file, "AIRP_HEIGHT"), std::vector<std::string>{"18000"});
    EXPECT_EQ(storedCount(file), registeredParameters().size() - 1);
}

TEST_F(SettingsFileTest, FirstDuplicateWinsAndASaveChangesAll) {
    test::writeFile(file,
                    parametersXml(element("MATCHING_DEPTH", "2") + element("MATCHING_DEPTH", "3")));
    settings.loadParameters();
    EXPECT_EQ(MATCHING_DEPTH.value(), 2);
    MATCHING_DEPTH.setCurrent(1);
    settings.saveNumber(MATCHING_DEPTH);
    EXPECT_EQ(storedValues(file, "MATCHING_DEPTH"), (std::vector<std::string>{"1", "1"}));
    EXPECT_TRUE(logged.contains("MATCHING_DEPTH=1"));
}

TEST_F(SettingsFileTest, FileWithoutRootIsRewrittenWholeOnTheFirstSave) {
    test::writeFile(file,
                    parametersXml(element("RANGE", "25") + element("AEROWINX", "true"), false));
    settings.loadParameters();
    EXPECT_EQ(RANGE.value(), 25);
    EXPECT_TRUE(AEROWINX.value());

    LAST_EPOCH_TIME.setCurrent(1234);
    settings.saveNumber(LAST_EPOCH_TIME);

    EXPECT_TRUE(logged.contains(
        "Placing a root level around a new parameters.xml to make it 100% xml compliance"));
    // The file's own content goes under the root: every parameter once, as the load left it.
    for (const Registration& registration : registeredParameters()) {
        const std::string name =
            std::visit([](auto* p) { return p->name(); }, registration.parameter);
        EXPECT_EQ(storedValues(file, name).size(), 1u) << name;
    }
    EXPECT_EQ(storedValues(file, "RANGE"), std::vector<std::string>{"25"});
    EXPECT_EQ(storedValues(file, "AEROWINX"), std::vector<std::string>{"true"});
    EXPECT_EQ(storedValues(file, "LAST_EPOCH_TIME:"), std::vector<std::string>{"1234"});
}

TEST_F(SettingsFileTest, AnEarlySaveIntoAFileWithoutRootKeepsTheValuesNotReadYet) {
    // The window's position is read and saved back before the full load has run: every other
    // value in memory is still its default then.
    test::writeFile(file, parametersXml(element("SIM_INSTALL_PATH", "/games/P3D v5") +
                                            element("lfolder0", "/liveries/one") +
                                            element("MAIN_WINDOW_X", "40000"),
                                        false));
    settings.readWindowPosition([&](int, int) { settings.saveNumber(MAIN_WINDOW_X); });

    EXPECT_EQ(storedValues(file, "SIM_INSTALL_PATH"), std::vector<std::string>{"/games/P3D v5"});
    EXPECT_EQ(storedValues(file, "lfolder0"), std::vector<std::string>{"/liveries/one"});
    EXPECT_EQ(storedValues(file, "MAIN_WINDOW_X"), std::vector<std::string>{"30000"});
    settings.loadParameters();
    EXPECT_EQ(SIM_INSTALL_PATH.value(), "/games/P3D v5");
    EXPECT_TRUE(test::readFile(file).find("<root>") != std::string::npos);
}

TEST_F(SettingsFileTest, SingleSaveOfAMissingOrUnparsableFileStartsANewOne) {
    DESTINATION.setCurrent("EGLL");
    settings.saveText(DESTINATION);
    EXPECT_EQ(storedValues(file, "DESTINATION"), std::vector<std::string>{"EGLL"});
    EXPECT_EQ(storedCount(file), 1u);

    test::writeFile(file, "<root><parameters><parameter name=");
    settings.saveText(DESTINATION);
    EXPECT_EQ(storedValues(file, "DESTINATION"), std::vector<std::string>{"EGLL"});
    EXPECT_EQ(test::readFile(folder / "parameters0.xml"), "<root><parameters><parameter name=");
}

TEST_F(SettingsFileTest, DamagedFileIsKeptAsACopyAndReplaced) {
    const std::string damaged = "<root><parameters><parameter name=\"RANGE\" val";
    test::writeFile(file, damaged);
    bool kept = false;
    settings.readWindowPosition([&](int, int) { kept = true; });
    EXPECT_FALSE(kept);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(test::readFile(folder / "parameters0.xml"), damaged);
    ASSERT_EQ(logged.lines().size(), 1u);
    EXPECT_TRUE(logged.lines()[0].ends_with(". Saved as 0.xml and removed.")) << logged.lines()[0];

    // A file damaged later is also kept before the full load replaces it.
    test::writeFile(file, "not xml at all");
    EXPECT_TRUE(settings.loadParameters());
    EXPECT_EQ(test::readFile(folder / "parameters0.xml"), "not xml at all");
    EXPECT_EQ(storedCount(file), registeredParameters().size());
}

TEST_F(SettingsFileTest, WindowPositionIsReadClampedWithTheDefaultsAsFallback) {
    test::writeFile(
        file, parametersXml(element("MAIN_WINDOW_X", "40000") + element("MAIN_WINDOW_Y", "77")));
    std::pair<int, int> previous{};
    settings.readWindowPosition([&](int x, int y) { previous = {x, y}; });
    EXPECT_EQ(MAIN_WINDOW_X.value(), 30000);
    EXPECT_EQ(MAIN_WINDOW_Y.value(), 77);
    EXPECT_EQ(previous, std::make_pair(400, 20));
}

TEST_F(SettingsFileTest, NoValueLinesWhileAStopIsRequested) {
    stopRequested = true;
    BLOCK_CALLSIGN.setCurrent("");
    settings.saveText(BLOCK_CALLSIGN);
    EXPECT_TRUE(logged.lines().empty());
    EXPECT_EQ(storedValues(file, "BLOCK_CALLSIGN"), std::vector<std::string>{""});
}

struct VersionUpdateCase {
    const char* stored;  // nullptr: no file at all; "": file without a version
    bool updateLine;
    bool encryptedDeleted;
    const char* versionAfter;
};

class VersionUpdateTest : public SettingsFileTest,
                          public ::testing::WithParamInterface<VersionUpdateCase> {};

TEST_P(VersionUpdateTest, HandlesTheStoredVersion) {
    const VersionUpdateCase& c = GetParam();
    const fs::path install = folder / "install";
    for (const char* name :
         {"airports.xml", "dbase.xml", "airports.enc", "AIG-regcodes.enc", "dbase.enc"}) {
        fs::create_directories(install / "input");
        test::writeFile(install / "input" / name, "x");
    }
    fs::create_directories(install / "new_version" / "unpacked");
    if (c.stored != nullptr) {
        const std::string version = *c.stored ? element("PROGRAM_VERSION", c.stored) : "";
        test::writeFile(file, parametersXml(version + element("SCAN_LIVERIES", "false") +
                                            element("SCAN_AIRPORTS", "false")));
    }

    settings.convertSettingsIfNeeded(install);

    const bool existingFileWithVersion = c.stored != nullptr && *c.stored;
    EXPECT_EQ(fs::exists(install / "input" / "dbase.xml"), !existingFileWithVersion);
    EXPECT_EQ(fs::exists(install / "input" / "airports.enc"), !c.encryptedDeleted);
    EXPECT_EQ(fs::exists(install / "input" / "AIG-regcodes.enc"), !c.encryptedDeleted);
    EXPECT_EQ(fs::exists(install / "new_version"), !c.updateLine);
    EXPECT_EQ(logged.contains(fmt::format("This is a version update from {} -> 12.6.0",
                                          c.stored ? c.stored : "")),
              c.updateLine);
    EXPECT_EQ(storedValues(file, "PROGRAM_VERSION"), std::vector<std::string>{c.versionAfter});
    // A first start scans everything; later starts keep the user's choice.
    EXPECT_EQ(SCAN_LIVERIES.value(), c.stored == nullptr);
    EXPECT_EQ(SCAN_AIRPORTS.value(), c.stored == nullptr);
    EXPECT_EQ(controls.control(SCAN_AIRPORTS.controlId).checked, c.stored == nullptr);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionUpdateTest,
                         ::testing::Values(VersionUpdateCase{nullptr, false, false, "12.6.0"},
                                           VersionUpdateCase{"", false, false, "12.6.0"},
                                           VersionUpdateCase{"11.9.3", true, true, "12.6.0"},
                                           VersionUpdateCase{"12.5.9", true, false, "12.6.0"},
                                           VersionUpdateCase{"12.6.0", false, false, "12.6.0"},
                                           VersionUpdateCase{"13.0.0", false, false, "12.6.0"}));

// Killing the process in the middle of a burst of saves never leaves a damaged file.
TEST_F(SettingsFileTest, KilledDuringSavesLeavesAParsableFile) {
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE(round);
        // Kills land at different points of the saves, from at once to a few milliseconds on.
        const std::optional<int> status = corv::test::killDuringSaves(
            SAVE_BURST_EXECUTABLE, file.string(), std::chrono::microseconds(round % 8 * 700));
        ASSERT_TRUE(status) << "the saver never reported a save";
        ASSERT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL)
            << "the saver ended before it was killed, status " << *status;
        pugi::xml_document document;
        const pugi::xml_parse_result result = document.load_file(file.c_str());
        ASSERT_TRUE(result) << result.description();
        EXPECT_EQ(storedCount(file), registeredParameters().size());
    }
}

}  // namespace
}  // namespace corv::settings
