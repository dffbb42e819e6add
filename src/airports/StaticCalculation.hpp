#pragma once

#include <string_view>
#include <vector>

#include "airports/StaticSearch.hpp"

namespace corv::airports {

// The log line that opens a calculation or renewal: the UTC time, the weekday, the half hour.
void logParkingDay(TimeKey key);

// Clears what the last search marked, then reserves the user's stands (either id may be empty).
void resetStandMarks(std::vector<Stand>& stands, std::string_view reservedStand,
                     std::string_view userStand);

// A fresh picture of the airport: the candidates to place, the best fitting last, since placing
// takes from the end.
std::vector<StaticAircraft> calculateStaticParking(std::vector<Stand>& stands, TimeKey key,
                                                   const StaticSearchInputs& inputs,
                                                   SearchFits& fits);

}  // namespace corv::airports
