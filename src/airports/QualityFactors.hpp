#pragma once

#include <string>
#include <vector>

#include "airports/LoadedAirport.hpp"

namespace corv::airports {

// How much real and soft occupancy data the stands hold, each 0 to 100, weighted by stand size;
// (-1, -1) when no stand has an entry.
QualityPair computeQualityFactors(const std::vector<Stand>& stands);

// "real/soft" while the real factor is below 45, else "real"; blanks when unknown.
std::string qualityText(QualityPair quality);

}  // namespace corv::airports
