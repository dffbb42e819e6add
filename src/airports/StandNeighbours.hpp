#pragma once

#include <vector>

#include "airports/Stand.hpp"

namespace corv::airports {

// Numbers the stands 1 ... n in list order and lists, for each, the stands it overlaps: two
// stands overlap when their radii add up to more than 1.1 times their distance.
void numberStandsAndNeighbours(std::vector<Stand>& stands);

}  // namespace corv::airports
