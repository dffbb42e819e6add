#pragma once

#include "status/DisplayState.hpp"
#include "ui/Canvas.hpp"

namespace corv::ui {

// The park airport's two lines: its identity and state, then its stands and parked aircraft.
// Nothing while no park airport is set.
void paintParkingBand(Canvas& canvas, const status::ParkingDisplay& parking);

}  // namespace corv::ui
