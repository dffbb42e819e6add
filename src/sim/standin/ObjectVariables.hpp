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

// Whether the stand-in knows a simulation variable and can give it in the unit: a number in a
// unit of its kind (an angle in degrees or radians, a length in feet or metres, ...), a text
// with no unit. Names and units are compared without regard to case.
enum class VariableCheck { Known, UnknownName, UnknownUnit };
VariableCheck checkVariable(const std::string& name, const std::string& unit);

// The value of a simulation variable of the object in the given unit; nullopt unless
// checkVariable knows it.
std::optional<VariableValue> readVariable(const WorldObject& object, const std::string& name,
                                          const std::string& unit, const ReadContext& context);

// Writes a settable variable given in the unit; false for one that cannot be written.
bool writeVariable(WorldObject& object, const std::string& name, const std::string& unit,
                   double value);

}  // namespace corv::sim::standin
