#pragma once

#include "sim/SimOperations.hpp"

namespace corv::sim {

// Declares every data definition, client event, the notification group and the system-event
// subscriptions on a freshly opened connection, in the order the replies rely on. Returns the
// number of calls that failed.
int declareSimSetup(SimOperations& ops);

}  // namespace corv::sim
