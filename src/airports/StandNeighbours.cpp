#include "airports/StandNeighbours.hpp"

#include "common/GreatCircle.hpp"

namespace corv::airports {

namespace {
constexpr double overlapMargin = 1.1;
}

void numberStandsAndNeighbours(std::vector<Stand>& stands) {
    std::int32_t number = 0;
    for (Stand& stand : stands) {
        stand.number = ++number;
        stand.neighbours.clear();
    }
    for (Stand& stand : stands) {
        for (const Stand& other : stands) {
            if (&other == &stand) continue;
            const double distance = common::distanceNm({stand.latitude, stand.longitude},
                                                       {other.latitude, other.longitude});
            if (stand.radius + other.radius > overlapMargin * distance) {
                stand.neighbours.push_back(other.number);
            }
        }
    }
}

}  // namespace corv::airports
