#pragma once

#include <string>

#include "airports/AirportFilesContext.hpp"
#include "airports/LoadedAirport.hpp"

namespace corv::airports {

// Reads the learned file of the loaded airport: its settings, then either all stands (a
// handmade file) or the manual stands and the learned entries merged into the loaded ones. A
// file that cannot be parsed is moved aside to its ".0.xml" name.
void lf_readLearned(const std::string& learnedPath, LoadedAirport& airport,
                    const AirportFilesContext& context);

}  // namespace corv::airports
