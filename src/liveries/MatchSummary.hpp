#pragma once

#include "liveries/MatchRunState.hpp"

namespace corv::liveries {

// At the end of a run: the matches per step and the liveries that could not be created; nothing
// when no live aircraft was matched.
void logMatchSummary(const MatchRunState& run);

// At the end of a run: the live aircraft that found no livery.
void logNoMatches(const MatchRunState& run);

}  // namespace corv::liveries
