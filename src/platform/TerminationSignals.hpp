#pragma once

namespace corv::platform {

// Turns SIGINT and SIGTERM into a readable byte on a pipe, so that the window thread can
// handle them like the window's close button. Returns the pipe's read end, -1 on failure.
int watchTerminationSignals();

// Empties the pipe after it became readable.
void drainTerminationSignals(int readDescriptor);

}  // namespace corv::platform
