#include "ui/ControlsAfterRead.hpp"

#include <string>
#include <vector>

#include <fmt/format.h>

#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"

namespace corv::ui {

namespace {
using namespace settings;

constexpr int metaSimNumberAfterRead = 3;
// The target percentage of parked aircraft until the park airport's own value is known.
constexpr std::int32_t initialParkingPercentage = 30;

void enableCheckBoxes(status::ControlStates& controls) {
    for (const CheckBox* box :
         {&ALWAYS_ON_TOP, &NAV_LIGHTS_WHILE_PARKED, &GUID_CHANGES, &SCAN_LIVERIES, &LIG_PRIORITIZE,
          &SCAN_AIRPORTS, &LIGHT_AIRCRAFT, &HELICOPTERS, &HIGH_PERF_AIRCRAFT, &AUTO_RANGE,
          &AIRBORNE_ONLY, &COLLISION_USER_GND, &COLLISION_USER_AIR, &COLLISION_LIVE_PARKED_GND,
          &STRAIGHT_PBS_ONLY, &WEEK, &PARK_SOFT, &INITIAL_LOAD_ONLY}) {
        controls.setEnabled(box->controlId, true);
    }
}

void enableLists(status::ControlStates& controls) {
    for (const ChoiceList<std::int32_t>* list :
         {&MATCHING_DEPTH, &MAX_PARK_SEL, &MAX_LIVE_SEL, &AIRP_RANGE, &AIRP_HEIGHT}) {
        fillList(controls, *list);
        controls.setEnabled(list->controlId, true);
    }
    // The manual radius and the height of the automatic one exclude each other.
    const bool autoRange = AUTO_RANGE.value();
    fillList(controls, RANGE);
    controls.setEnabled(RANGE.controlId, !autoRange);
    fillList(controls, AR_ABOVE_HEIGHT);
    controls.setEnabled(AR_ABOVE_HEIGHT.controlId, autoRange);
}

// Enabled only once the run has come far enough to use them.
void disableUntilNeeded(status::ControlStates& controls) {
    for (const status::ControlId id :
         {status::button::tbloZip, status::button::block, status::button::callsignList,
          CALLSIGN_2_OBJECTID.controlId, DESTINATION.controlId, status::button::reRead,
          status::button::flushStatic}) {
        controls.setEnabled(id, false);
    }
    if (!INITIAL_LOAD_ONLY.value()) controls.setEnabled(status::button::now, false);
}

// The park airport's file decides these; they stay locked until it has been read.
void lockParkingLists(status::ControlStates& controls) {
    fillList(controls, parking_percentage);
    parking_percentage.setCurrent(initialParkingPercentage);
    parking_percentage.showCurrent(controls);
    controls.setEnabled(parking_percentage.controlId, false);

    std::vector<std::string> hours;
    for (const float choice : MAX_FIT_FL.choices()) {
        hours.push_back(fmt::format("{:.1f}", choice));
    }
    controls.setListEntries(MAX_FIT_FL.controlId, std::move(hours));
    convertMaxFit(controls);
    controls.setEnabled(MAX_FIT_FL.controlId, false);
}
}  // namespace

void fillList(status::ControlStates& controls, const ChoiceList<std::int32_t>& list) {
    std::vector<std::string> entries;
    for (const std::int32_t choice : list.choices()) {
        entries.push_back(std::to_string(choice));
    }
    controls.setListEntries(list.controlId, std::move(entries));
    list.showCurrent(controls);
}

void enableControlsAfterRead(status::ControlStates& controls, std::atomic<int>& metaSimNumber) {
    enableCheckBoxes(controls);
    controls.setEnabled(BLOCK_CALLSIGN.controlId, true);
    enableLists(controls);
    controls.setEnabled(status::button::unblock, !BLOCK_CALLSIGN.value().empty());
    disableUntilNeeded(controls);
    lockParkingLists(controls);
    metaSimNumber = metaSimNumberAfterRead;
}

}  // namespace corv::ui
