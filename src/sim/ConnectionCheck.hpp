#pragma once

#include <string>

#include "sim/SimMessages.hpp"

namespace corv::sim {

// The application name with only letters, digits and white space left ("®" and the like go).
std::string cleanSimulatorName(const std::string& name);

// "{} ({}.{}.{}.{})": the cleaned name and the four version numbers. Throws
// corv::UserErrorException 78 when the name is that of Microsoft Flight Simulator.
std::string simulatorDisplayText(const OpenMessage& open);

// Throws corv::UserErrorException 78 unless the connected simulator is the expected Prepar3D:
// the display text names "v5" (or "v6") and the install path or the expected major version agrees.
void checkSimulatorVersion(const std::string& displayText, const std::string& installPath,
                           int expectedMajor);

}  // namespace corv::sim
