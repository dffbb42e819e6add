#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"
#include "ui/HeadlessControls.hpp"

namespace corv::settings {
namespace {

std::vector<std::string> registeredNames() {
    std::vector<std::string> names;
    for (const Registration& registration : registeredParameters()) {
        std::visit([&](auto* parameter) { names.push_back(parameter->name()); },
                   registration.parameter);
    }
    return names;
}

TEST(ParameterTable, RegistrationListsKeepTheirOrder) {
    const std::vector<std::string> names = registeredNames();
    ASSERT_EQ(names.size(), 1u + 19 + 9 + 7 + 30 + 1);
    EXPECT_EQ(names.front(), "RANDOM");
    EXPECT_EQ(names[1], "ALWAYS_ON_TOP");
    EXPECT_EQ(names[19], "PARK_SOFT");
    EXPECT_EQ(names[20], "MAIN_WINDOW_X");
    EXPECT_EQ(names[22], "LAST_EPOCH_TIME:");
    EXPECT_EQ(names[29], "MATCHING_DEPTH");
    EXPECT_EQ(names[36], "PROGRAM_VERSION");
    EXPECT_EQ(names[40], "lfolder0");
    EXPECT_EQ(names[59], "afolder9");
    EXPECT_EQ(names[64], "ADDONS_SCAN_VERSION");
    EXPECT_EQ(names[65], "DESTINATION");
    EXPECT_EQ(names.back(), "BLOCK_CALLSIGN");
    EXPECT_EQ(std::count(names.begin(), names.end(), "AIRP_HEIGHT"), 2);
    for (const char* unregistered :
         {"ALL_INSTALL_PATH", "CALLSIGN_2_OBJECTID", "parking_percentage", "MAX_FIT_FL"}) {
        EXPECT_EQ(std::count(names.begin(), names.end(), unregistered), 0) << unregistered;
    }
}

TEST(ParameterTable, OnlyControlsWithAVisibleBoxShowTheirValueOnLoad) {
    const std::vector<std::string> names = registeredNames();
    for (const auto& [name, shows] :
         {std::pair{"DESTINATION", false}, std::pair{"BLOCK_CALLSIGN", true}}) {
        const auto found = std::find(names.begin(), names.end(), name);
        ASSERT_NE(found, names.end()) << name << " is not registered";
        const Registration& registration =
            registeredParameters()[static_cast<std::size_t>(found - names.begin())];
        EXPECT_EQ(registration.showsInControl, shows) << name;
    }
    EXPECT_EQ(DESTINATION.controlId, 0x8047);
    EXPECT_EQ(lfolder[3].name(), "lfolder3");
    EXPECT_EQ(afolder[9].name(), "afolder9");
}

TEST(ParameterTable, NumbersAreClampedToTheirRange) {
    test::resetParameters();
    struct Case {
        HiddenNumber* parameter;
        int set;
        int expected;
    };
    for (const Case& c :
         {Case{&MAX_HOLDING_MINUTES, 0, 1}, Case{&P3D_VERSION, 7, 6},
          Case{&MAIN_WINDOW_X, 40000, 30000}, Case{&CUSTOM_PARKING_PERCENTAGE, -5, -1},
          Case{&HOLDING_THRESHOLD_METERS, 300, 300}}) {
        c.parameter->setCurrent(c.set);
        EXPECT_EQ(c.parameter->value(), c.expected) << c.parameter->name();
    }
    // Choice lists are bounded by their first and last choice only.
    RANGE.setCurrent(41);
    EXPECT_EQ(RANGE.value(), 41);
    EXPECT_EQ(RANGE.currentIndex(), -1);
    RANGE.setCurrent(1);
    EXPECT_EQ(RANGE.value(), 2);
    EXPECT_EQ(AR_ABOVE_HEIGHT.choices().size(), 11u);
    test::resetParameters();
}

TEST(ParameterTable, MaxFitConvertsToHours) {
    const std::pair<int, float> cases[] = {
        {47, 24}, {44, 24}, {43, 21},  {38, 21}, {37, 18},  {32, 18},  {31, 15},
        {26, 15}, {25, 12}, {22, 12},  {21, 11}, {20, 11},  {19, 10},  {18, 10},
        {17, 9},  {16, 9},  {15, 8},   {14, 8},  {13, 7},   {12, 7},   {11, 6},
        {10, 6},  {9, 5},   {2, 1.5f}, {1, 1},   {0, 0.5f}, {-3, 0.5f}};
    for (const auto& [maxFit, hours] : cases)
        EXPECT_EQ(maxFitHours(maxFit), hours) << maxFit;
}

TEST(ParameterTable, ConvertedMaxFitSelectsOnlyAChoice) {
    test::resetParameters();
    ui::HeadlessControls controls;
    controls.selectListEntry(MAX_FIT_FL.controlId, 7);

    MAX_FIT.setCurrent(21);  // 11 hours: no choice of the list
    convertMaxFit(controls);
    EXPECT_EQ(MAX_FIT_FL.value(), 11.0f);
    EXPECT_EQ(controls.control(MAX_FIT_FL.controlId).selected, 7);

    MAX_FIT.setCurrent(3);
    convertMaxFit(controls);
    EXPECT_EQ(MAX_FIT_FL.value(), 2.0f);
    EXPECT_EQ(controls.control(MAX_FIT_FL.controlId).selected, 3);
    test::resetParameters();
}

}  // namespace
}  // namespace corv::settings
