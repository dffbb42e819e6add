#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/ControlLayout.hpp"

namespace corv::ui {
namespace {

using enum ControlKind;

struct Expected {
    ControlKind kind;
    int x;
    int y;
    int width;
    int dropHeight;
    status::ControlId id;
    const char* name;
};

// The controls band as the window shows it, in creation order.
const Expected controlsBand[] = {
    {Edit, 111, 119, 1200, 0, 0x8014, "ALL_INSTALL_PATH"},
    {Check, 5, 147, 12, 0, 0x801E, "SCAN_LIVERIES"},
    {Check, 536, 147, 12, 0, 0x8020, "LIG_PRIORITIZE"},
    {Check, 748, 147, 12, 0, 0x8003, "ALWAYS_ON_TOP"},
    {Check, 5, 175, 12, 0, 0x8022, "SCAN_AIRPORTS"},
    {Button, 217, 175, 80, 0, 0x8024, "tblo.zip"},
    {Check, 748, 175, 12, 0, 0x8006, "NAV_LIGHTS_WHILE_PARKED"},
    {List, 217, 203, 40, 120, 0x8028, "MATCHING_DEPTH"},
    {Check, 323, 203, 12, 0, 0x8029, "LIGHT_AIRCRAFT"},
    {Check, 430, 203, 12, 0, 0x802A, "HELICOPTERS"},
    {Check, 536, 203, 12, 0, 0x802B, "HIGH_PERF_AIRCRAFT"},
    {Check, 652, 203, 12, 0, 0x8008, "AEROWINX"},
    {Check, 748, 203, 12, 0, 0x8005, "GUID_CHANGES"},
    {List, 217, 231, 50, 200, 0x8032, "RANGE"},
    {Check, 323, 231, 12, 0, 0x8033, "AUTO_RANGE"},
    {List, 455, 231, 70, 230, 0x8034, "AR_ABOVE_HEIGHT"},
    {Check, 572, 231, 12, 0, 0x8035, "AIRBORNE_ONLY"},
    {Edit, 107, 259, 100, 0, 0x803C, "BLOCK_CALLSIGN"},
    {Button, 223, 257, 60, 0, 0x803D, "Unblock"},
    {Button, 305, 257, 60, 0, 0x803E, "cs->oid:"},
    {List, 375, 259, 100, 300, 0x803F, "CALLSIGN_2_OBJECTID"},
    {Button, 576, 257, 60, 0, 0x8040, "Block"},
    {Check, 217, 287, 12, 0, 0x8042, "COLLISION_USER_GND"},
    {Check, 323, 287, 12, 0, 0x8041, "COLLISION_USER_AIR"},
    {Check, 430, 287, 12, 0, 0x8043, "COLLISION_LIVE_PARKED_GND"},
    {Button, 111, 313, 45, 0, 0x804F, "Now"},
    {List, 323, 315, 55, 144, 0x8050, "MAX_PARK_SEL"},
    {List, 536, 315, 55, 144, 0x8051, "MAX_LIVE_SEL"},
    {Check, 652, 315, 12, 0, 0x8057, "STRAIGHT_PBS_ONLY"},
    {Edit, 217, 343, 50, 0, 0x8047, "DESTINATION"},
    {List, 353, 343, 45, 144, 0x8048, "AIRP_RANGE"},
    {List, 566, 343, 70, 230, 0x8049, "AIRP_HEIGHT"},
    {Button, 758, 341, 90, 0, 0x8046, "Re-read"},
    {Check, 5, 371, 12, 0, 0x8053, "INITIAL_LOAD_ONLY"},
    {Check, 71, 371, 12, 0, 0x8055, "WEEK"},
    {Check, 151, 371, 12, 0, 0x8054, "PARK_SOFT"},
    {List, 323, 371, 50, 200, 0x8052, "parking_percentage"},
    {List, 566, 371, 60, 300, 0x8056, "MAX_FIT_FL"},
    {Button, 758, 369, 90, 0, 0x8059, "Flush static"},
};

TEST(ControlLayout, EveryControlSitsWhereTheWindowShowsItInCreationOrder) {
    const std::vector<ControlPlacement>& layout = controlLayout();
    ASSERT_EQ(layout.size(), std::size(controlsBand));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlPlacement& actual = layout[i];
        const Expected& expected = controlsBand[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(actual.name, expected.name);
        EXPECT_EQ(actual.kind, expected.kind);
        EXPECT_EQ(actual.id, expected.id);
        EXPECT_EQ(actual.x, expected.x);
        EXPECT_EQ(actual.y, expected.y);
        EXPECT_EQ(actual.width, expected.width);
        EXPECT_EQ(actual.dropHeight, expected.dropHeight);
        // A check box is created ticked from its parameter.
        EXPECT_EQ(actual.checkBox != nullptr, expected.kind == Check);
        if (actual.checkBox != nullptr) {
            EXPECT_EQ(actual.checkBox->controlId, expected.id);
        }
    }
}

TEST(ControlLayout, WidgetRectanglesDependOnTheKind) {
    struct Case {
        const char* name;
        Rect expected;
    };
    // Check boxes 12 x 12 two below the row, lists five above, edits 16 and buttons 20 high.
    const Case cases[] = {
        {"SCAN_LIVERIES", {5, 149, 17, 161}},
        {"MATCHING_DEPTH", {217, 198, 257, 220}},
        {"ALL_INSTALL_PATH", {111, 119, 1311, 135}},
        {"Flush static", {758, 369, 848, 389}},
    };
    const std::vector<ControlPlacement>& layout = controlLayout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto control =
            std::find_if(layout.begin(), layout.end(),
                         [&](const ControlPlacement& placed) { return placed.name == c.name; });
        ASSERT_NE(control, layout.end()) << "no control named " << c.name;
        EXPECT_EQ(controlRect(*control), c.expected);
    }
}

}  // namespace
}  // namespace corv::ui
