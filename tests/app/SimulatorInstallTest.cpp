#include <gtest/gtest.h>

#include <atomic>

#include "app/SimulatorInstall.hpp"
#include "common/UserErrorException.hpp"
#include "services/MessageLine.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "ui/HeadlessControls.hpp"

namespace corv::app {
namespace {

TEST(SimulatorInstall, MajorVersionComesFromThePathOrTheSetting) {
    struct Case {
        const char* path;
        int fallback;
        const char* major;
    };
    const Case cases[] = {
        {"C:\\Lockheed Martin\\Prepar3D v5", 6, "5"},
        {"D:\\P3D V6", 5, "6"},
        {"E:\\sims\\v6 and v5", 6, "5"},  // the v5 tests come first
        {"F:\\Prepar3D", 5, "5"},
        {"F:\\Prepar3D", 6, "6"},
        {"v", 6, "6"},
        {"", 5, "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        settings::SIM_INSTALL_PATH.setCurrent(c.path);
        settings::P3D_VERSION.setCurrent(c.fallback);
        EXPECT_EQ(simMajorVersionText(), c.major);
    }
    test::resetParameters();
}

// This platform has no registry, so the simulator is never detected: the start goes on only
// with a configured livery or airport folder, else the user is asked for the install path.
TEST(SimulatorInstall, WithoutRegistryEntriesOnlyAConfiguredFolderLetsTheStartGoOn) {
    struct Case {
        const char* name;
        settings::HiddenText* folder;
        bool goesOn;
    };
    const Case cases[] = {
        {"no folder", nullptr, false},
        {"livery folder", &settings::lfolder[3], true},
        {"airport folder", &settings::afolder[9], true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::resetParameters();
        test::LogCapture logged;
        test::TempFolder folder;
        ui::HeadlessControls controls;
        const std::atomic<bool> stopRequested{false};
        settings::SettingsFile settings(folder / "parameters.xml", controls, stopRequested);
        services::MessageLine messages{[] {}};
        settings::ALL_INSTALL_PATH.setCurrent("C:\\typed earlier");
        if (c.folder != nullptr) c.folder->setCurrent("/scenery");

        int code = 0;
        try {
            detectSimulator(messages, settings, controls);
        } catch (const UserErrorException& e) {
            code = e.code();
        }

        EXPECT_EQ(code, c.goesOn ? 0 : 151);
        EXPECT_TRUE(logged.contains("P3D not detected?"));
        EXPECT_EQ(settings::SIM_INSTALL_PATH.value(), "");
        // Asked for the path, the user finds the box emptied; else it is left as it was.
        EXPECT_EQ(settings::ALL_INSTALL_PATH.value(), c.goesOn ? "C:\\typed earlier" : "");
        if (!c.goesOn) {
            EXPECT_EQ(controls.control(settings::ALL_INSTALL_PATH.controlId).text, "");
        }
    }
    test::resetParameters();
}

}  // namespace
}  // namespace corv::app
