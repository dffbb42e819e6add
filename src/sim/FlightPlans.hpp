#pragma once

#include <filesystem>
#include <string>

#include "sim/SimMessages.hpp"

namespace corv::sim {

// The folder of the live aircraft's flight plan files below the program's application-data
// folder: "Corvane_P3D/orig_dest".
std::filesystem::path flightPlanFolder(const std::filesystem::path& appDataFolder);
// "{object id}.pln" in that folder.
std::filesystem::path flightPlanFile(const std::filesystem::path& folder, ObjectId object);

// The minimal plan that tells the simulator departure and destination: "IFR" for business
// jets, large and heavy aircraft, "VFR" for the others; an empty code is three blanks.
std::string flightPlanText(const std::string& origin, const std::string& destination, int category);
// False when the file cannot be written.
bool writeFlightPlanFile(const std::filesystem::path& file, const std::string& text);

// Creates the folder with its parents; true when it exists as a folder afterwards.
bool gf_createFlightPlanFolder(const std::filesystem::path& folder);
void gf_removeFlightPlan(const std::filesystem::path& folder, ObjectId object);
void gf_removeFlightPlanFolder(const std::filesystem::path& folder);

}  // namespace corv::sim
