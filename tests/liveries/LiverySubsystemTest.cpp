#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "common/UserErrorException.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/LiverySubsystem.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "status/DisplayState.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/QuietWindow.hpp"
#include "support/RecordedControls.hpp"
#include "support/StoredParameters.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

namespace fs = std::filesystem;

struct LiverySubsystemTest : ::testing::Test {
    LiverySubsystemTest() {
        test::resetParameters();
        fs::create_directories(install / "input");
        fs::create_directories(install / "output");
        test::writeFile(install / "input" / "dbase.xml", xml.text());
        EXPECT_TRUE(reference.readXml(install / "input" / "dbase.xml"));
        fs::remove(install / "input" / "dbase.xml");
        settings::SCAN_LIVERIES.setCurrent(true);
    }
    ~LiverySubsystemTest() override { test::resetParameters(); }

    // An installed aircraft with one livery per title.
    static void aircraft(const fs::path& at, const std::vector<std::string>& titles) {
        fs::create_directories(at / "model");
        fs::create_directories(at / "texture");
        test::writeFile(at / "jet.air", "");
        std::string text = "[General]\natc_model=B738\n\n";
        for (std::size_t i = 0; i < titles.size(); ++i) {
            text += "[fltsim." + std::to_string(i) + "]\ntitle=" + titles[i] +
                    "\nsim=jet\nmodel=\ntexture=\natc_parking_codes=KLM\n\n";
        }
        test::writeFile(at / "aircraft.cfg", text);
    }

    LiverySubsystem subsystem() {
        return LiverySubsystem({run, messages, settingsFile, controls, display, window, reference,
                                install.path(), simNumber});
    }
    fs::path scannedFile() const { return install / "output" / "LiveriesScanned.xml"; }

    test::LogCapture logged;
    test::TempFolder install;
    test::DbaseXml xml;
    ReferenceData reference;
    services::RunState run;
    std::vector<std::string> shown;  // the message line at every repaint
    services::MessageLine messages{[this] { shown.push_back(messages.texts().message); }};
    test::RecordedControls controls;
    std::atomic<bool> stopRequested{false};
    settings::SettingsFile settingsFile{install / "parameters.xml", controls, stopRequested};
    status::DisplayState display;
    test::QuietWindow window;
    std::atomic<int> simNumber{5};
};

TEST_F(LiverySubsystemTest, AScanIsStoredShownAndPreparedOncePerStart) {
    aircraft(install / "liveries" / "737", {"KLM 737 b", "KLM 737 a"});
    aircraft(install / "liveries" / "738", {"KLM 738"});
    settings::lfolder[0].setCurrent((install / "liveries").string());
    LiverySubsystem liveries = subsystem();
    liveries.scanLiveries();
    // The scan tells how far it is against the files found before reading.
    EXPECT_NE(
        std::find(shown.begin(), shown.end(), "Scanning prioritized for liveries ... 1 / 2 files"),
        shown.end())
        << testing::PrintToString(shown);
    EXPECT_TRUE(logged.contains("1 of 2 aircraft.cfg files read"));
    EXPECT_TRUE(logged.contains("2 of 2 aircraft.cfg files read"));
    EXPECT_EQ(messages.texts().message, "") << "cleared when the scan is done";

    EXPECT_TRUE(liveries.scannedFileExists());
    EXPECT_FALSE(settings::SCAN_LIVERIES.value()) << "the next start reads the stored scan";
    EXPECT_EQ(test::storedValue(settingsFile.path(), "SCAN_LIVERIES"), "false");
    EXPECT_FALSE(controls.ticked.at(settings::SCAN_LIVERIES.controlId));
    EXPECT_TRUE(liveries.processScannedLiveries());
    EXPECT_EQ(display.snapshot().liveryCount, 3);
    ASSERT_NE(liveries.indexes(), nullptr);
    EXPECT_FALSE(liveries.processScannedLiveries()) << "once per program start";

    // The next start: the stored scan, no scan.
    LiverySubsystem next = subsystem();
    display.reset();
    EXPECT_TRUE(next.processScannedLiveries());
    EXPECT_EQ(display.snapshot().liveryCount, 3);
    EXPECT_TRUE(logged.contains("    3 liveries read from " + scannedFile().string()));
}

TEST_F(LiverySubsystemTest, ADamagedStoredScanIsReplacedByANewScan) {
    aircraft(install / "liveries" / "737", {"KLM 737"});
    settings::lfolder[0].setCurrent((install / "liveries").string());
    test::writeFile(scannedFile(), "<root><liveries>");
    LiverySubsystem liveries = subsystem();
    EXPECT_TRUE(liveries.processScannedLiveries());
    EXPECT_EQ(display.snapshot().liveryCount, 1);
    EXPECT_NE(test::readFile(scannedFile()).find("KLM 737"), std::string::npos);
}

TEST_F(LiverySubsystemTest, FoldersTheUserMustFixEndTheRunWithTheirError) {
    const auto codeOf = [this] {
        try {
            subsystem().scanLiveries();
        } catch (const UserErrorException& e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(codeOf(), 48) << "no livery folder set";
    settings::lfolder[2].setCurrent((install / "missing").string());
    EXPECT_EQ(codeOf(), 243);
    EXPECT_TRUE(
        logged.contains("==> lfolder2: '" + (install / "missing").string() + "' does not exist"));
    fs::create_directories(install / "empty");
    settings::lfolder[2].setCurrent((install / "empty").string());
    EXPECT_EQ(codeOf(), 53) << "nothing found";
    EXPECT_TRUE(settings::SCAN_LIVERIES.value()) << "a failed scan is not taken as done";
    // Closing the program during the scan is no error: the scan found nothing because it stopped.
    aircraft(install / "empty" / "737", {"KLM 737"});
    run.windowClosed = true;
    EXPECT_EQ(codeOf(), 0) << "stopped by the user";
    EXPECT_TRUE(settings::SCAN_LIVERIES.value());
}

}  // namespace
}  // namespace corv::liveries
