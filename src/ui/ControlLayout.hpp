#pragma once

#include <string_view>
#include <vector>

#include "settings/Parameter.hpp"
#include "status/ControlStates.hpp"
#include "ui/Canvas.hpp"

namespace corv::ui {

enum class ControlKind { Edit, Check, List, Button };

// One control of the controls band: where it sits on its row, its command id and what it
// stands for (a parameter's name, or a button's text).
struct ControlPlacement {
    ControlKind kind;
    int x;
    int y;  // the row
    int width;
    int dropHeight;  // lists only: the height of the open list
    status::ControlId id;
    std::string_view name;
    const settings::CheckBox* checkBox = nullptr;  // check boxes: their parameter
};

// Every control in creation order, row by row.
const std::vector<ControlPlacement>& controlLayout();

// The control's rectangle in the window: check boxes sit 2 pixels below the row, lists 5
// above; edit boxes are 16 high, buttons 20, check boxes 12 x 12.
Rect controlRect(const ControlPlacement& control);

}  // namespace corv::ui
