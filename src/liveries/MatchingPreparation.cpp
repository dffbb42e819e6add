#include "liveries/MatchingPreparation.hpp"

#include <string>
#include <unordered_set>

namespace corv::liveries {

std::unique_ptr<MatchingIndexes> prepareMatching(const std::vector<LiveryData>& liveries,
                                                 ReferenceData& reference,
                                                 const RegcodeFolders& folders,
                                                 services::MessageLine& messages,
                                                 const SwitchOff& switchOff) {
    auto indexes = std::make_unique<MatchingIndexes>(liveries, reference);
    std::vector<TitledRegistration> titled;
    titled.reserve(liveries.size());
    std::unordered_set<std::string> installed;
    for (const LiveryData& livery : liveries) {
        titled.push_back({livery.title, livery.registration});
        installed.insert(livery.title);
    }
    applyInlineRegcodes(indexes->registrations, titled, folders);
    applyOfflineRegcodes(indexes->registrations, installed, folders, messages);
    logMatchingIndexes(*indexes, switchOff);
    return indexes;
}

}  // namespace corv::liveries
