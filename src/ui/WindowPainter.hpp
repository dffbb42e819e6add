#pragma once

#include <functional>

#include "app/MessageLine.hpp"
#include "ui/Canvas.hpp"
#include "ui/ControlStates.hpp"
#include "ui/DisplayState.hpp"

namespace corv::ui {

// Whether a control is enabled: some labels are grey while their control is disabled.
using ControlEnabled = std::function<bool(ControlId)>;

// Paints the whole client area: the bands with their lines, the title, the status band, the
// control labels, the parking band and the message band. Reads the parameters for the label
// colours; never touches the toolkit.
void paintWindow(Canvas& canvas, const DisplaySnapshot& display,
                 const app::MessageLine::Texts& messages, const ControlEnabled& controlEnabled);

}  // namespace corv::ui
