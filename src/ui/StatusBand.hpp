#pragma once

#include "status/DisplayState.hpp"
#include "ui/Canvas.hpp"

namespace corv::ui {

// The connection boxes of the simulator and RealTraffic with their texts, the user aircraft,
// the scanned counts and the weather and traffic figures.
void paintStatusBand(Canvas& canvas, const status::DisplaySnapshot& display);

}  // namespace corv::ui
