#pragma once

#include <string>

#include "airports/AirportFilesContext.hpp"
#include "airports/LoadedAirport.hpp"

namespace corv::airports {

// Loads the park airport from its airport file (a local path, or a path on the download site)
// and its learned file, and prepares the stand list. Returns an empty text on success, else
// what went wrong; a damaged stand list or a missing altitude throws UserErrorException.
std::string gf_readApf(const std::string& path, LoadedAirport& airport,
                       const AirportFilesContext& context);

}  // namespace corv::airports
