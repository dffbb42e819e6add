#pragma once

#include <cstdint>
#include <string>

#include "sim/standin/WorldObject.hpp"

namespace corv::sim::standin {

// Applies a simulator event (by its simulator name, e.g. "GEAR_SET") with its data to the
// object; false for an event the stand-in does not know.
bool applySimEvent(WorldObject& object, const std::string& simEventName, std::uint32_t data);

}  // namespace corv::sim::standin
