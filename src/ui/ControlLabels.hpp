#pragma once

#include "status/DisplayState.hpp"
#include "ui/Canvas.hpp"
#include "ui/WindowPainter.hpp"

namespace corv::ui {

// The texts painted beside the controls, coloured by the settings they describe, and the
// notes of the controls band (the tblo.zip request, the time to the next static renewal).
void paintControlLabels(Canvas& canvas, const status::DisplaySnapshot& display,
                        const ControlEnabled& controlEnabled);

}  // namespace corv::ui
