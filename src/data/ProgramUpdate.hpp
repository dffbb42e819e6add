#pragma once

#include "data/UpdateContext.hpp"
#include "services/VersionData.hpp"

namespace corv::data {

// Fetches the installer of a newer program version into the folder "new_version" with its
// release notes and a README, shows it in the file manager and ends the run with NEW VERSION.
// False, with the run going on as before, when the installer could not be put in place.
bool updateProgram(const UpdateContext& context, const services::VersionData& webVersion);

}  // namespace corv::data
