#pragma once

#include "liveries/MatchRunState.hpp"

namespace corv::liveries {

class MatchingIndexes;

// Where the traffic finds the installed liveries to match and what matching learned this run.
class LiverySource {
  public:
    virtual ~LiverySource() = default;
    // Null until the liveries are prepared.
    virtual const MatchingIndexes* indexes() const = 0;
    virtual MatchRunState& runState() = 0;
};

}  // namespace corv::liveries
