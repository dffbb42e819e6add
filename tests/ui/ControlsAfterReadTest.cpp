#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"
#include "support/ParameterReset.hpp"
#include "ui/ControlsAfterRead.hpp"
#include "ui/HeadlessControls.hpp"

namespace corv::ui {
namespace {

using namespace settings;
using Strings = std::vector<std::string>;

struct ControlsAfterReadTest : ::testing::Test {
    ControlsAfterReadTest() { test::resetParameters(); }
    ~ControlsAfterReadTest() override { test::resetParameters(); }

    void enable() { enableControlsAfterRead(controls, metaSimNumber); }
    std::optional<bool> enabled(status::ControlId id) const { return controls.control(id).enabled; }

    HeadlessControls controls;
    std::atomic<int> metaSimNumber{1};
};

TEST_F(ControlsAfterReadTest, SettingsControlsAreEnabledAndTheRestWaitsForTheRun) {
    enable();
    for (const CheckBox* box :
         {&ALWAYS_ON_TOP, &NAV_LIGHTS_WHILE_PARKED, &GUID_CHANGES, &SCAN_LIVERIES, &LIG_PRIORITIZE,
          &SCAN_AIRPORTS, &LIGHT_AIRCRAFT, &HELICOPTERS, &HIGH_PERF_AIRCRAFT, &AUTO_RANGE,
          &AIRBORNE_ONLY, &COLLISION_USER_GND, &COLLISION_USER_AIR, &COLLISION_LIVE_PARKED_GND,
          &STRAIGHT_PBS_ONLY, &WEEK, &PARK_SOFT, &INITIAL_LOAD_ONLY}) {
        EXPECT_EQ(enabled(box->controlId), true) << box->name();
    }
    EXPECT_EQ(enabled(BLOCK_CALLSIGN.controlId), true);
    for (const status::ControlId id :
         {status::button::tbloZip, status::button::block, status::button::callsignList,
          CALLSIGN_2_OBJECTID.controlId, DESTINATION.controlId, status::button::reRead,
          status::button::flushStatic, status::button::now, status::button::unblock}) {
        EXPECT_EQ(enabled(id), false) << std::hex << id;
    }
    EXPECT_EQ(metaSimNumber, 3);
}

TEST_F(ControlsAfterReadTest, ListsAreFilledWithTheirChoicesAndSelectTheCurrentValue) {
    MAX_PARK_SEL.setCurrent(25);
    AIRP_HEIGHT.setCurrent(5000);  // between two choices: nothing selected
    enable();
    struct Case {
        const ChoiceList<std::int32_t>& list;
        Strings entries;
        int selected;
    };
    const Case cases[] = {
        {MATCHING_DEPTH, {"1", "2", "3", "4"}, 3},
        {MAX_PARK_SEL, {"0", "10", "25", "50", "75", "100", "500"}, 2},
        {MAX_LIVE_SEL, {"0", "10", "25", "50", "75", "100", "500"}, 6},
        {AIRP_RANGE, {"5", "10", "15", "20", "25", "30"}, 3},
        {AIRP_HEIGHT,
         {"2000", "4000", "6000", "8000", "10000", "12000", "14000", "16000", "18000", "36000",
          "48000"},
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list.name());
        const HeadlessControls::Control list = controls.control(c.list.controlId);
        EXPECT_EQ(list.entries, c.entries);
        EXPECT_EQ(list.selected, c.selected);
        EXPECT_EQ(list.enabled, true);
    }
}

TEST_F(ControlsAfterReadTest, ControlsThatDependOnOtherSettings) {
    struct Case {
        const char* name;
        bool autoRange;
        std::string blockCallsign;
        bool initialLoadOnly;
        bool rangeEnabled;
        bool heightEnabled;
        bool unblockEnabled;
        std::optional<bool> nowEnabled;  // left as it is with initial load only
    };
    const Case cases[] = {
        {"automatic radius", true, "", false, false, true, false, false},
        {"manual radius, blocked callsign", false, "KLM1234", false, true, false, true, false},
        {"initial load only", true, "", true, false, true, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AUTO_RANGE.setCurrent(c.autoRange);
        BLOCK_CALLSIGN.setCurrent(c.blockCallsign);
        INITIAL_LOAD_ONLY.setCurrent(c.initialLoadOnly);
        HeadlessControls fresh;
        enableControlsAfterRead(fresh, metaSimNumber);
        EXPECT_EQ(fresh.control(RANGE.controlId).enabled, c.rangeEnabled);
        EXPECT_EQ(fresh.control(AR_ABOVE_HEIGHT.controlId).enabled, c.heightEnabled);
        EXPECT_EQ(fresh.control(status::button::unblock).enabled, c.unblockEnabled);
        EXPECT_EQ(fresh.control(status::button::now).enabled, c.nowEnabled);
        // Both radius lists are filled either way.
        EXPECT_EQ(fresh.control(RANGE.controlId).entries.size(), RANGE.choices().size());
        EXPECT_EQ(fresh.control(RANGE.controlId).selected, RANGE.indexOf(40));
        EXPECT_EQ(fresh.control(AR_ABOVE_HEIGHT.controlId).entries.front(), "18000");
        EXPECT_EQ(fresh.control(AR_ABOVE_HEIGHT.controlId).selected, 10);
    }
}

TEST_F(ControlsAfterReadTest, ParkingPercentageStartsAtThirtyAndLocked) {
    parking_percentage.setCurrent(55);
    enable();
    EXPECT_EQ(parking_percentage.value(), 30);
    const HeadlessControls::Control list = controls.control(parking_percentage.controlId);
    ASSERT_EQ(list.entries.size(), 21u);
    EXPECT_EQ(list.entries.front(), "0");
    EXPECT_EQ(list.entries.back(), "100");
    EXPECT_EQ(list.selected, 6);
    EXPECT_EQ(list.entries.at(6), "30");
    EXPECT_EQ(list.enabled, false);
}

TEST_F(ControlsAfterReadTest, MaxFitListShowsHoursAndTheConvertedValue) {
    struct Case {
        std::int32_t maxFit;
        float hours;
        int selected;  // -1: hours that are no choice
    };
    const Case cases[] = {{47, 24.0f, 19}, {0, 0.5f, 0}, {9, 5.0f, 9}, {21, 11.0f, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxFit);
        MAX_FIT.setCurrent(c.maxFit);
        HeadlessControls fresh;
        enableControlsAfterRead(fresh, metaSimNumber);
        const HeadlessControls::Control list = fresh.control(MAX_FIT_FL.controlId);
        EXPECT_EQ(list.entries, (Strings{"0.5",  "1.0",  "1.5",  "2.0",  "2.5",  "3.0", "3.5",
                                         "4.0",  "4.5",  "5.0",  "6.0",  "7.0",  "8.0", "9.0",
                                         "10.0", "12.0", "15.0", "18.0", "21.0", "24.0"}));
        EXPECT_EQ(MAX_FIT_FL.value(), c.hours);
        EXPECT_EQ(list.selected, c.selected);
        EXPECT_EQ(list.enabled, false);
    }
}

}  // namespace
}  // namespace corv::ui
