#pragma once

#include <memory>
#include <vector>

#include "liveries/LiveryData.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/MatchingIndexesLog.hpp"
#include "liveries/OfflineRegcodes.hpp"

namespace corv::services {
class MessageLine;
}

namespace corv::liveries {

class ReferenceData;

// Once per program start, after the livery list is read: the indexes, the registrations the
// liveries carry and then those of the registration-code lists, and the log of what is
// installed. The livery list is not needed afterwards.
std::unique_ptr<MatchingIndexes> prepareMatching(const std::vector<LiveryData>& liveries,
                                                 ReferenceData& reference,
                                                 const RegcodeFolders& folders,
                                                 services::MessageLine& messages,
                                                 const SwitchOff& switchOff);

}  // namespace corv::liveries
