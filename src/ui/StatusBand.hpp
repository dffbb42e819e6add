#pragma once

#include "ui/Canvas.hpp"
#include "ui/DisplayState.hpp"

namespace corv::ui {

// The connection boxes of the simulator and RealTraffic with their texts, the user aircraft,
// the scanned counts and the weather and traffic figures.
void paintStatusBand(Canvas& canvas, const DisplaySnapshot& display);

}  // namespace corv::ui
