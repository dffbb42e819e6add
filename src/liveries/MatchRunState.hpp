#pragma once

#include <array>
#include <set>
#include <string>

namespace corv::liveries {

inline constexpr int matchStepCount = 7;

// What matching learns during one run; a new run starts from a fresh value.
struct MatchRunState {
    using TextSet = std::set<std::string, std::less<>>;

    TextSet failedTitles;       // refused by the simulator: never chosen again
    TextSet couldNotBeCreated;  // "{model} {airline}", for the summary
    TextSet noMatch;            // descriptions of live aircraft with a registration but no livery
    std::array<int, matchStepCount> stepCounts{};  // live aircraft matched per step 0 to 6
};

}  // namespace corv::liveries
