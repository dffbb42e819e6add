#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/CodeTable.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/LiveryChoice.hpp"
#include "liveries/LiveryData.hpp"
#include "liveries/RegistrationIndex.hpp"

namespace corv::liveries {

class ReferenceData;

using ModelList = std::vector<common::CodeIndex>;
// Model → titles, in the order the livery list was filed.
using ModelTitles = std::unordered_map<common::CodeIndex, TitleList>;
// Airline (or composite airline and operator code) → model → titles.
using LiveryIndex = std::unordered_map<common::CodeIndex, ModelTitles>;

struct PrivateLivery {
    std::string_view registration;
    std::string_view title;
};
using PrivateIndex = std::unordered_map<common::CodeIndex, std::vector<PrivateLivery>>;
using SimilarTypes = std::unordered_map<common::CodeIndex, ModelList>;

struct CategoryLiveries {
    std::size_t pax = 0;
    std::size_t cargo = 0;
};

// What matching searches, built once per program start from the installed liveries and
// read-only afterwards. The registration index is filled by the registration-code processing
// before matching starts. Titles and registrations are held here; everything else views them.
class MatchingIndexes {
  public:
    // Interns the composite codes of operator liveries.
    MatchingIndexes(const std::vector<LiveryData>& liveries, ReferenceData& reference);
    MatchingIndexes(const MatchingIndexes&) = delete;
    MatchingIndexes& operator=(const MatchingIndexes&) = delete;

    // The title as held here; empty when no installed livery has it.
    std::string_view title(std::string_view text) const;

    RegistrationIndex registrations;
    LiveryIndex pax;
    LiveryIndex cargo;
    PrivateIndex privatePax;
    PrivateIndex privateCargo;
    // Airline (or operator) → model → the similar models that airline has liveries of.
    std::unordered_map<common::CodeIndex, SimilarTypes> similarTypes;
    std::size_t similarDefinitions = 0;
    // Model → the similar models that have private liveries.
    SimilarTypes privateSimilarTypes;
    // The types with private liveries, for the light, business-jet and rotorcraft categories.
    std::array<ModelList, categoryCount> categoryModels;
    std::array<CategoryLiveries, categoryCount> categoryLiveries;
    std::size_t genericModels = 0;
    common::CodeIndex privateAirline = 0;  // "PVT"
    common::CodeIndex genericAirline = 0;  // "ZZZ"

  private:
    std::set<std::string, std::less<>> titles_;
    std::deque<std::string> privateRegistrations_;
};

}  // namespace corv::liveries
