#pragma once

#include <array>
#include <cstdint>

#include "sim/SimQueues.hpp"

namespace corv::sim {

// The client events by which the traffic logic works an AI aircraft. Each only queues; the
// simulator client sends at the next frame. Rotorcraft (category 5) have no gear, flaps or
// spoilers to work.

void gf_setGear(SimQueues& queues, ObjectId object, int category, bool down);
// currentIndex is the aircraft's flaps index, kept by the caller and updated here.
void gf_setFlaps(SimQueues& queues, ObjectId object, int category, int& currentIndex, int index);
void gf_setSpoilers(SimQueues& queues, ObjectId object, int category, bool on);
// currentIndex is the aircraft's throttle index; index 5 and above only remember the index.
void gf_setThrottle(SimQueues& queues, ObjectId object, int& currentIndex, int index);

void startEngines(SimQueues& queues, ObjectId object);
void stopEngines(SimQueues& queues, ObjectId object);

// Nav, beacon, landing, taxi, strobe, logo and cabin lights, each 0 off or 1 on.
using LightValues = std::array<std::uint32_t, 7>;
void setAllLights(SimQueues& queues, ObjectId object, const LightValues& values);
void setNavLights(SimQueues& queues, ObjectId object, std::uint32_t value);
void setCabinLights(SimQueues& queues, ObjectId object, std::uint32_t value);

}  // namespace corv::sim
