#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "liveries/RandomSource.hpp"
#include "liveries/RegistrationIndex.hpp"

namespace corv::liveries {

using TitleList = std::vector<std::string_view>;

// Picks one title among equal candidates, avoiding liveries painted for one particular airframe.
class LiveryChoice {
  public:
    // random false: always the first candidate that qualifies, so results can be reproduced.
    LiveryChoice(const RegistrationIndex& registrations, RandomSource& source, bool random)
        : registrations_(registrations), source_(source), random_(random) {}

    // Empty for an empty list; a list of special liveries only still gives one of them.
    std::string_view choose(const TitleList& candidates) const;
    // An index below count: random, or 0 when choices are not random.
    std::size_t pick(std::size_t count) const;

  private:
    const RegistrationIndex& registrations_;
    RandomSource& source_;
    bool random_;
};

}  // namespace corv::liveries
