#include "liveries/ReferenceData.hpp"

#include <algorithm>

#include "liveries/AircraftCategory.hpp"

namespace corv::liveries {

int ReferenceData::category(common::CodeIndex model) const {
    // A type listed in two sets takes the first match of this order.
    if (large_.contains(model)) return categoryLarge;
    if (heavy_.contains(model)) return categoryHeavy;
    if (businessJets_.contains(model)) return categoryBusinessJet;
    if (rotorcraft_.contains(model)) return categoryRotorcraft;
    if (highPerformance_.contains(model)) return categoryHighPerformance;
    return categoryLight;
}

const ReferenceData::Group* ReferenceData::prefixGroupOf(std::string_view prefix) const {
    const auto found = prefixMap_.find(prefix);
    return found != prefixMap_.end() ? &found->second : nullptr;
}

const DbaseRecord* ReferenceData::dbaseRecord(std::string_view registration) const {
    const auto found = std::lower_bound(
        dbaseRecords_.begin(), dbaseRecords_.end(), registration,
        [](const DbaseRecord& record, std::string_view key) { return record.registration < key; });
    if (found == dbaseRecords_.end() || found->registration != registration) return nullptr;
    return &*found;
}

}  // namespace corv::liveries
