#pragma once

#include <string>
#include <vector>

namespace corv::liveries {

// Airports of one add-on publisher that the download site holds airport files for.
struct PublisherAirports {
    std::string publisher;
    std::vector<std::string> airports;
};

}  // namespace corv::liveries
