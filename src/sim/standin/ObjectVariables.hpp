#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <variant>

#include "sim/standin/WorldObject.hpp"

namespace corv::sim::standin {

using VariableValue = std::variant<double, std::string>;

// What a variable reads needs beyond the object itself.
struct ReadContext {
    double groundFeet = 0.0;
    std::chrono::system_clock::time_point utc{};
};

// The value of a simulation variable of the object in the given unit; nullopt for a variable the
// stand-in does not know. Names and units are compared without regard to case.
std::optional<VariableValue> readVariable(const WorldObject& object, const std::string& name,
                                          const std::string& unit, const ReadContext& context);

// Writes a settable variable; false for one that cannot be written.
bool writeVariable(WorldObject& object, const std::string& name, const std::string& unit,
                   double value);

}  // namespace corv::sim::standin
