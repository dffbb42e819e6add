#pragma once

#include "FeedOptions.hpp"

namespace corv::rtfeed {

// Writes what a real RealTraffic broadcasts on the traffic port into a recording, until the
// duration ends; the process exit code.
int recordTraffic(const Options& options);

}  // namespace corv::rtfeed
