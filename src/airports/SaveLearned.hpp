#pragma once

#include "airports/AirportFilesContext.hpp"
#include "airports/LoadedAirport.hpp"

namespace corv::airports {

// Writes what was learned at the loaded airport, and the settings chosen there, into its
// learned file; the update counter starts again at 0. Nothing when no airport is loaded.
void saveLearnedFile(LoadedAirport& airport, const AirportFilesContext& context);

}  // namespace corv::airports
