#pragma once

#include "liveries/MatchAircraft.hpp"
#include "liveries/MatchRunState.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/RandomSource.hpp"

namespace corv::liveries {

class ReferenceData;

struct MatchOptions {
    int depth = 4;  // 1: registrations only; 2: the airline's type; 3: similar types; 4: all
    bool random = true;
};

// Everything one match uses.
struct MatchContext {
    const MatchingIndexes& indexes;
    const ReferenceData& reference;
    MatchRunState& run;
    MatchOptions options;
    RandomSource& random;
};

// Fills the aircraft's title with the best installed livery, searching no deeper than the
// options allow; false (and the title left empty) when none fits.
bool matchLivery(MatchAircraft& aircraft, const MatchContext& context);

}  // namespace corv::liveries
