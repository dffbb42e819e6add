#pragma once

#include <string_view>

#include "common/AircraftIdentity.hpp"
#include "liveries/LiveryChoice.hpp"
#include "liveries/MatchRunState.hpp"
#include "liveries/MatchingIndexes.hpp"

namespace corv::liveries {

class ReferenceData;

// The searches of one match. Titles the simulator refused are never candidates.
class LiveryLookup {
  public:
    LiveryLookup(const MatchingIndexes& indexes, const ReferenceData& reference,
                 const LiveryChoice& choice, const MatchRunState::TextSet& failedTitles)
        : indexes_(indexes), reference_(reference), choice_(choice), failed_(failedTitles) {}

    // A livery of the aircraft's airline (or operator) and model; a private aircraft gets a
    // private livery of its model. A cargo aircraft falls back to passenger liveries.
    std::string_view airlineModel(const common::AircraftIdentity& key,
                                  std::string_view registration) const;
    // A private livery of the model, preferring one registered in the same country.
    std::string_view privateLivery(common::CodeIndex model, std::string_view registration,
                                   bool cargo) const;

  private:
    std::string_view airlineModelIn(bool cargo, const common::AircraftIdentity& key,
                                    std::string_view registration) const;
    std::string_view privateLiveryIn(const PrivateIndex& index, common::CodeIndex model,
                                     std::string_view registration) const;
    TitleList candidates(const LiveryIndex& index, common::CodeIndex airline,
                         common::CodeIndex model) const;
    // The first candidate whose title carries the name of the other airline.
    std::string_view naming(const LiveryIndex& index, common::CodeIndex airline,
                            common::CodeIndex model, common::CodeIndex named) const;

    const MatchingIndexes& indexes_;
    const ReferenceData& reference_;
    const LiveryChoice& choice_;
    const MatchRunState::TextSet& failed_;
};

// The part of a registration that says where it is registered: up to and including the first
// "-", or the first character of one without ("N12345" → "N").
std::string_view registrationPrefix(std::string_view registration);

}  // namespace corv::liveries
