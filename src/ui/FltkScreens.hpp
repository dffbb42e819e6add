#pragma once

#include <vector>

#include "ui/WindowPlacement.hpp"

namespace corv::ui {

// The full rectangles of all monitors, as FLTK sees them. Opens the display.
std::vector<ScreenRect> screenMonitors();

}  // namespace corv::ui
