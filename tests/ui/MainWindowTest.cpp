#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <fmt/format.h>
#include <pugixml.hpp>

#include "services/MessageLine.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "status/ControlIds.hpp"
#include "status/DisplayState.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/StoredParameters.hpp"
#include "ui/FltkControls.hpp"
#include "ui/MainWindow.hpp"
#include "ui/WindowBands.hpp"

// Last: Xlib defines names such as Status as macros.
#include <FL/x.H>
#include <X11/Xatom.h>
#undef Status

// Fontconfig, which FLTK's fonts use, keeps its caches until the process ends.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace corv::ui {
namespace {

using Strings = std::vector<std::string>;

struct RecordingOwner final : status::WindowOwner {
    void onStartMessage() override {
        events.push_back("start");
        if (onStart) onStart();
    }
    void onCloseClicked() override { events.push_back("close"); }
    bool onCommand(status::ControlId id) override {
        events.push_back(fmt::format("command {:#x}", id));
        return true;
    }
    void onListSelected(status::ControlId id, int index, const std::string& text) override {
        events.push_back(fmt::format("list {:#x} {} '{}'", id, index, text));
    }
    void onEditEnter(status::ControlId id, const std::string& text) override {
        events.push_back(fmt::format("edit {:#x} '{}'", id, text));
    }

    std::function<void()> onStart;
    Strings events;
};

// The real window; it needs a display (the test suite runs under Xvfb for it).
struct MainWindowTest : ::testing::Test {
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display";
        test::resetParameters();
    }
    void TearDown() override { test::resetParameters(); }

    test::LogCapture logged;
    test::TempFolder folder;
    std::filesystem::path file = folder / "parameters.xml";
    std::atomic<bool> stopRequested{false};
    services::MessageLine messages{[] {}};
    status::DisplayState display;
    RecordingOwner owner;
};

TEST_F(MainWindowTest, RunsTheLoopUntilQuitAppliesControlChangesAndSavesThePosition) {
    FltkControls controls;
    settings::SettingsFile settings(file, controls, stopRequested);
    MainWindow window(owner, messages, display, settings, controls);
    std::thread worker;
    const auto started = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    owner.onStart = [&] {
        // The user moved the window: the quit saves where it is now.
        Fl_Window* shown = Fl::first_window();
        EXPECT_NE(shown, nullptr);
        if (shown != nullptr) shown->position(260, 170);
        // Changes from the run's thread reach the widgets in call order, before the quit.
        worker = std::thread([&] {
            controls.setEnabled(status::button::tbloZip, true);
            controls.setEnabled(status::button::reRead, true);
            controls.setEnabled(status::button::reRead, false);
            window.repaintBand(status::Band::Status);
            window.postQuit(7);
        });
    };
    window.postStart();
    EXPECT_EQ(window.run(), 7);
    worker.join();

    const auto ended = std::chrono::system_clock::now();

    EXPECT_TRUE(controls.isEnabled(status::button::tbloZip));
    EXPECT_FALSE(controls.isEnabled(status::button::reRead));  // buttons start disabled
    EXPECT_EQ(test::storedValue(file, "MAIN_WINDOW_X"), "260");
    EXPECT_EQ(test::storedValue(file, "MAIN_WINDOW_Y"), "170");
    // The quit logs when the window closed.
    const Strings lines = logged.lines();
    ASSERT_FALSE(lines.empty());
    bool closingTime = false;
    for (auto second = started; second <= ended; second += std::chrono::seconds(1))
        closingTime = closingTime || lines.back() == services::timeText(second);
    EXPECT_TRUE(closingTime) << lines.back();
    EXPECT_EQ(Fl::first_window(), nullptr);  // hidden once the loop has ended
}

TEST_F(MainWindowTest, WidgetsReportToTheOwner) {
    FltkControls controls;
    settings::SettingsFile settings(file, controls, stopRequested);
    MainWindow window(owner, messages, display, settings, controls);
    // Menu syntax in an entry is kept as text.
    controls.setListEntries(settings::MATCHING_DEPTH.controlId, {"1", "2/3", "&4"});
    controls.selectListEntry(settings::MATCHING_DEPTH.controlId, 1);
    controls.setText(settings::BLOCK_CALLSIGN.controlId, "KLM1234");
    owner.onStart = [&] {
        Fl_Window* shown = Fl::first_window();
        ASSERT_NE(shown, nullptr);
        shown->child(1)->do_callback();   // the SCAN_LIVERIES box
        shown->child(7)->do_callback();   // the MATCHING_DEPTH list
        shown->child(17)->do_callback();  // the BLOCK_CALLSIGN box
        shown->do_callback();             // the close button
        window.postQuit(0);
    };
    window.postStart();
    EXPECT_EQ(window.run(), 0);
    EXPECT_EQ(owner.events, (Strings{"start", "command 0x801e", "list 0x8028 1 '2/3'",
                                     "edit 0x803c 'KLM1234'", "close"}));
}

TEST_F(MainWindowTest, ShownWindowEndsWithTheMessageBandAndCarriesTheProgramIcon) {
    FltkControls controls;
    settings::SettingsFile settings(file, controls, stopRequested);
    MainWindow window(owner, messages, display, settings, controls);
    std::vector<long> icon;  // as the window manager reads it: width, height, ARGB pixels
    owner.onStart = [&] {
        Fl_Window* shown = Fl::first_window();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->w(), 880);
        EXPECT_EQ(shown->h(), bandRect(status::Band::Message).bottom);
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long left = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(fl_display, fl_xid(shown),
                           XInternAtom(fl_display, "_NET_WM_ICON", False), 0, 1 << 16, False,
                           XA_CARDINAL, &type, &format, &count, &left, &data);
        if (data != nullptr) {
            const auto* values = reinterpret_cast<const long*>(data);
            icon.assign(values, values + count);
            XFree(data);
        }
        window.postQuit(0);
    };
    window.postStart();
    EXPECT_EQ(window.run(), 0);

    ASSERT_GE(icon.size(), 2u);
    const long width = icon[0];
    EXPECT_GE(width, 16);
    EXPECT_EQ(icon[1], width);
    ASSERT_EQ(icon.size(), static_cast<std::size_t>(2 + width * width));
    // A picture, not a blank square.
    EXPECT_GT(std::set<long>(icon.begin() + 2, icon.end()).size(), 1u);
}

}  // namespace
}  // namespace corv::ui
