#pragma once

#include <functional>

#include "services/MessageLine.hpp"
#include "status/ControlStates.hpp"
#include "status/DisplayState.hpp"
#include "ui/Canvas.hpp"

namespace corv::ui {

// Whether a control is enabled: some labels are grey while their control is disabled.
using ControlEnabled = std::function<bool(status::ControlId)>;

// Paints the whole client area: the bands with their lines, the title, the status band, the
// control labels, the parking band and the message band. Reads the parameters for the label
// colours; never touches the toolkit.
void paintWindow(Canvas& canvas, const status::DisplaySnapshot& display,
                 const services::MessageLine::Texts& messages,
                 const ControlEnabled& controlEnabled);

}  // namespace corv::ui
