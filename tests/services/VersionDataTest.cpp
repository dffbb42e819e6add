#include <gtest/gtest.h>

#include "services/VersionData.hpp"
#include "support/LogCapture.hpp"

namespace corv::services {
namespace {

TEST(VersionData, ParsesDottedAndJsonFormsKeepingPartialResults) {
    struct Case {
        const char* text;
        VersionData expected;
        const char* logged;  // the logged error, or nullptr
    };
    const Case cases[] = {
        {"12.6.0", {12, 6, 0}, nullptr},
        {"", {0, 0, 0}, nullptr},
        {"12.6", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"v12.6.0", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"12.6.0 ", {0, 0, 0}, "VersionData exception: invalid version format"},
        {"  {\"major\": 12, \"minor\": 7, \"patch\": 1}\n", {12, 7, 1}, nullptr},
        {"{\"major\": 12, \"minor\": 7}", {12, 7, 0}, ""},
        {"{\"major\": 12, ", {0, 0, 0}, ""},
        {"99999999999.1.2", {0, 0, 0}, "VersionData exception: parse error in version string"},
        {"1.99999999999.2", {1, 0, 0}, "VersionData exception: parse error in version string"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::LogCapture logged;
        const VersionData version(c.text);
        EXPECT_EQ(version, c.expected);
        const auto lines = logged.lines();
        if (c.logged == nullptr) {
            EXPECT_TRUE(lines.empty());
        } else {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_TRUE(lines[0].starts_with(*c.logged ? c.logged : "VersionData exception: "))
                << lines[0];
        }
    }
}

TEST(VersionData, ComparesMajorThenMinorThenPatch) {
    EXPECT_LT(VersionData(11, 9, 3), VersionData(12, 6, 0));
    EXPECT_LT(VersionData(12, 5, 9), VersionData(12, 6, 0));
    EXPECT_LT(VersionData(12, 6, 0), VersionData(12, 6, 1));
    EXPECT_EQ(VersionData("12.6.0"), VersionData(12, 6, 0));
}

}  // namespace
}  // namespace corv::services
