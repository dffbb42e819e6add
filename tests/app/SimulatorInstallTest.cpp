#include <gtest/gtest.h>

#include "app/SimulatorInstall.hpp"
#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"

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

TEST(SimulatorInstall, ThisPlatformHasNoRegistryEntries) {
    EXPECT_FALSE(keyExists(5));
    EXPECT_FALSE(keyExists(6));
    EXPECT_EQ(readSetupPath(5), "");
}

}  // namespace
}  // namespace corv::app
