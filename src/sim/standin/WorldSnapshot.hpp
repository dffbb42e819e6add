#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/standin/WorldObject.hpp"

namespace corv::sim::standin {

// One object of the world with the ground beneath it.
struct SnapshotEntry {
    const WorldObject* object = nullptr;
    double groundFeet = 0.0;
};

// Every object with position, heading, on-ground, lights and control state.
nlohmann::json worldJson(const std::vector<SnapshotEntry>& entries,
                         std::chrono::system_clock::time_point utc);

// A map of the square around the user, radiusNm to each side: every object as an arrow along
// its heading, brown on the ground, blue in the air, the user in red, a yellow dot when any light
// is on, labelled with its tail number; behind each AI object the way it came over the last
// minutes, a faint line in the same colours.
std::string worldSvg(const std::vector<SnapshotEntry>& entries, const WorldObject& user,
                     double radiusNm);

}  // namespace corv::sim::standin
