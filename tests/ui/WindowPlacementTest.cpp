#include <gtest/gtest.h>

#include <atomic>

#include <pugixml.hpp>

#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/StoredParameters.hpp"
#include "ui/HeadlessControls.hpp"
#include "ui/WindowPlacement.hpp"

namespace corv::ui {
namespace {

const ScreenRect leftMonitor{0, 0, 1920, 1080};
const ScreenRect rightMonitor{1920, 0, 2560, 1440};

TEST(WindowPlacement, KeepsAtLeast48PixelsOnTheNearestMonitor) {
    struct Case {
        const char* name;
        ScreenRect window;
        std::vector<ScreenRect> monitors;
        WindowPosition expected;
    };
    const Case cases[] = {
        {"inside stays", {400, 20, 880, 516}, {leftMonitor}, {400, 20}},
        {"on a removed monitor to the right", {3000, 200, 880, 516}, {leftMonitor}, {1872, 200}},
        {"far left", {-5000, 100, 880, 516}, {leftMonitor}, {-832, 100}},
        {"above the top", {100, -900, 880, 516}, {leftMonitor}, {100, -468}},
        {"below the bottom", {100, 1070, 880, 516}, {leftMonitor}, {100, 1032}},
        {"on the second monitor", {3000, 200, 880, 516}, {leftMonitor, rightMonitor}, {3000, 200}},
        {"monitor narrower than the window", {50, 0, 880, 516}, {{0, 0, 640, 480}}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keepOnMonitor(c.window, c.monitors), c.expected);
    }
}

struct KeepWindowOnScreenTest : ::testing::Test {
    KeepWindowOnScreenTest() { test::resetParameters(); }
    ~KeepWindowOnScreenTest() override { test::resetParameters(); }

    std::string stored(const char* name) { return test::storedValue(file, name); }

    test::LogCapture logged;
    test::TempFolder folder;
    HeadlessControls controls;
    std::atomic<bool> stopRequested{false};
    std::filesystem::path file = folder / "parameters.xml";
    settings::SettingsFile settings{file, controls, stopRequested};
};

TEST_F(KeepWindowOnScreenTest, ClampedPositionFallsBackToTheDefaultAndIsSaved) {
    test::writeFile(file,
                    "<root><parameters><parameter name=\"MAIN_WINDOW_X\" value=\"40000\"/>"
                    "<parameter name=\"MAIN_WINDOW_Y\" value=\"300\"/></parameters></root>");
    WindowPosition position;
    settings.readWindowPosition([&](int previousX, int previousY) {
        position = keepWindowOnScreen(previousX, previousY, {leftMonitor}, settings);
    });
    EXPECT_EQ(position, (WindowPosition{400, 300}));
    EXPECT_EQ(stored("MAIN_WINDOW_X"), "400");
}

TEST_F(KeepWindowOnScreenTest, PositionOnARemovedMonitorIsMovedBackAndSaved) {
    settings::MAIN_WINDOW_X.setCurrent(3000);
    settings::MAIN_WINDOW_Y.setCurrent(1300);
    EXPECT_EQ(keepWindowOnScreen(400, 20, {leftMonitor}, settings), (WindowPosition{1872, 1032}));
    EXPECT_EQ(stored("MAIN_WINDOW_X"), "1872");
    EXPECT_EQ(stored("MAIN_WINDOW_Y"), "1032");
}

}  // namespace
}  // namespace corv::ui
