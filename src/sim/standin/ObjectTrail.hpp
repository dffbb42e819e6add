#pragma once

#include <chrono>

#include "sim/standin/WorldObject.hpp"

namespace corv::sim::standin {

// Adds where the object is now to its trail: at most a point every two seconds, at once where it
// touches down or lifts off, and only the last ten minutes kept.
void extendTrail(WorldObject& object, bool onGround, std::chrono::steady_clock::time_point now);

}  // namespace corv::sim::standin
