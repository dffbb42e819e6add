#pragma once

#include <cstdint>
#include <string>

#include "sim/standin/WorldObject.hpp"

namespace corv::sim::standin {

// Whether a client event may be mapped to the simulator event name: one the stand-in simulates,
// or a private event of the client, whose name holds a period as the simulator asks. Names are
// compared without regard to case.
bool isKnownSimEvent(const std::string& simEventName);

// Applies a simulator event (by its simulator name, e.g. "GEAR_SET") with its data to the
// object; false for an event the stand-in does not simulate.
bool applySimEvent(WorldObject& object, const std::string& simEventName, std::uint32_t data);

}  // namespace corv::sim::standin
