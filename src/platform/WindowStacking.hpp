#pragma once

namespace corv::platform {

// Asks the window manager to keep a top-level window above the others, or to stop doing so.
// display and window are the toolkit's native handles (an X display and window). Without a
// window manager nothing happens.
void keepWindowAbove(void* display, unsigned long window, bool above);

}  // namespace corv::platform
