#pragma once

#include <functional>

#include "liveries/MatchingIndexes.hpp"
#include "settings/Parameter.hpp"

namespace corv::liveries {

// Switches a setting off for this program start and saves it.
using SwitchOff = std::function<void(settings::CheckBox&)>;

// After the indexes are built: what the user has installed, per airline, category and generic
// type. Light, high-performance and rotorcraft traffic is switched off when no livery of that
// category is installed, since none of it could be shown.
void logMatchingIndexes(const MatchingIndexes& indexes, const SwitchOff& switchOff);

}  // namespace corv::liveries
