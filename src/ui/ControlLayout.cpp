#include "ui/ControlLayout.hpp"

#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"

namespace corv::ui {

namespace {
using namespace settings;

constexpr int checkBoxSize = 12;
constexpr int editHeight = 16;
constexpr int buttonHeight = 20;
constexpr int listHeight = 22;  // the closed list; FLTK opens its own menu below

ControlPlacement edit(const TextBox& box, int x, int width) {
    return {ControlKind::Edit, x, box.y, width, 0, box.controlId, box.name()};
}

ControlPlacement check(const CheckBox& box, int x) {
    return {ControlKind::Check, x, box.y, checkBoxSize, 0, box.controlId, box.name(), &box};
}

template <typename List>
ControlPlacement list(const List& list, int x, int width, int dropHeight) {
    return {ControlKind::List, x, list.y, width, dropHeight, list.controlId, list.name()};
}

ControlPlacement pushButton(std::string_view text, status::ControlId id, int x, int y, int width) {
    return {ControlKind::Button, x, y, width, 0, id, text};
}
}  // namespace

const std::vector<ControlPlacement>& controlLayout() {
    static const std::vector<ControlPlacement> layout = {
        edit(ALL_INSTALL_PATH, 111, 1200),
        check(SCAN_LIVERIES, 5),
        check(LIG_PRIORITIZE, 536),
        check(ALWAYS_ON_TOP, 748),
        check(SCAN_AIRPORTS, 5),
        pushButton("tblo.zip", status::button::tbloZip, 217, 175, 80),
        check(NAV_LIGHTS_WHILE_PARKED, 748),
        list(MATCHING_DEPTH, 217, 40, 120),
        check(LIGHT_AIRCRAFT, 323),
        check(HELICOPTERS, 430),
        check(HIGH_PERF_AIRCRAFT, 536),
        check(AEROWINX, 652),
        check(GUID_CHANGES, 748),
        list(RANGE, 217, 50, 200),
        check(AUTO_RANGE, 323),
        list(AR_ABOVE_HEIGHT, 455, 70, 230),
        check(AIRBORNE_ONLY, 572),
        edit(BLOCK_CALLSIGN, 107, 100),
        pushButton("Unblock", status::button::unblock, 223, 257, 60),
        pushButton("cs->oid:", status::button::callsignList, 305, 257, 60),
        list(CALLSIGN_2_OBJECTID, 375, 100, 300),
        pushButton("Block", status::button::block, 576, 257, 60),
        check(COLLISION_USER_GND, 217),
        check(COLLISION_USER_AIR, 323),
        check(COLLISION_LIVE_PARKED_GND, 430),
        pushButton("Now", status::button::now, 111, 313, 45),
        list(MAX_PARK_SEL, 323, 55, 144),
        list(MAX_LIVE_SEL, 536, 55, 144),
        check(STRAIGHT_PBS_ONLY, 652),
        edit(DESTINATION, 217, 50),
        list(AIRP_RANGE, 353, 45, 144),
        list(AIRP_HEIGHT, 566, 70, 230),
        pushButton("Re-read", status::button::reRead, 758, 341, 90),
        check(INITIAL_LOAD_ONLY, 5),
        check(WEEK, 71),
        check(PARK_SOFT, 151),
        list(parking_percentage, 323, 50, 200),
        list(MAX_FIT_FL, 566, 60, 300),
        pushButton("Flush static", status::button::flushStatic, 758, 369, 90),
    };
    return layout;
}

Rect controlRect(const ControlPlacement& control) {
    const int x = control.x;
    switch (control.kind) {
        case ControlKind::Check:
            return {x, control.y + 2, x + checkBoxSize, control.y + 2 + checkBoxSize};
        case ControlKind::List:
            return {x, control.y - 5, x + control.width, control.y - 5 + listHeight};
        case ControlKind::Edit:
            return {x, control.y, x + control.width, control.y + editHeight};
        case ControlKind::Button:
            return {x, control.y, x + control.width, control.y + buttonHeight};
    }
    return {};
}

}  // namespace corv::ui
