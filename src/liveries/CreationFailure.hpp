#pragma once

#include <cstddef>
#include <string>

#include "liveries/MatchRunState.hpp"

namespace corv::services {
class MessageLine;
}

namespace corv::liveries {

// Distinct refused titles after which the user's liveries are taken to be broken.
inline constexpr std::size_t tooManyFailedTitles = 20;

// The simulator refused to create an aircraft in this livery: shows it (unless the run is
// ending), keeps the title from being chosen again this run and lists model and airline as
// "Could not be created". Throws corv::UserErrorException 81 once twenty distinct titles have
// failed. The caller then drops the aircraft.
void recordCreationFailure(MatchRunState& run, const std::string& callsign,
                           const std::string& liveryTitle, const std::string& modelCode,
                           const std::string& airlineCode, bool runEnding,
                           services::MessageLine& messages);

}  // namespace corv::liveries
