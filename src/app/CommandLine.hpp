#pragma once

#include <string>
#include <vector>

namespace corv::app {

// "--production" / "/production" switch production on, "--no-production" / "/no-production"
// off, in any letter case; the last switch wins. The first argument is the program.
bool productionModeFromArguments(const std::vector<std::string>& arguments);

}  // namespace corv::app
