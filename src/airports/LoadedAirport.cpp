#include "airports/LoadedAirport.hpp"

#include <algorithm>

namespace corv::airports {

std::string LoadedAirport::standIdOf(std::int32_t number) const {
    if (number == 0) return "sid==0?";
    const auto found = std::lower_bound(
        stands.begin(), stands.end(), number,
        [](const Stand& stand, std::int32_t wanted) { return stand.number < wanted; });
    if (number < 0 || found == stands.end() || found->number != number) return "sid==?";
    return found->id;
}

}  // namespace corv::airports
