#pragma once

#include <string>
#include <vector>

namespace corv::app {

// The process: one instance per user, the log, the window, the runs. Returns the exit code:
// -1 when another instance runs.
int runProcess(const std::vector<std::string>& arguments);

}  // namespace corv::app
