#include "liveries/MatchingIndexes.hpp"

#include <algorithm>
#include <map>

#include <fmt/format.h>

#include "liveries/ReferenceData.hpp"

namespace corv::liveries {

namespace {

void addOnce(ModelList& models, common::CodeIndex model) {
    if (std::find(models.begin(), models.end(), model) == models.end()) models.push_back(model);
}

// For every type of a similar group, the other members of the group that have liveries.
SimilarTypes similarFrom(const ModelList& present, const ReferenceData& reference) {
    SimilarTypes similar;
    for (const ReferenceData::Group& group : reference.similarTypes()) {
        ModelList members;
        for (const std::string& code : group) {
            if (const auto model = reference.findModel(code)) addOnce(members, *model);
        }
        for (const common::CodeIndex wanted : members) {
            for (const common::CodeIndex other : members) {
                if (other == wanted) continue;
                if (std::find(present.begin(), present.end(), other) == present.end()) continue;
                addOnce(similar[wanted], other);
            }
        }
    }
    return similar;
}

}  // namespace

MatchingIndexes::MatchingIndexes(const std::vector<LiveryData>& liveries, ReferenceData& reference)
    : privateAirline(reference.internAirline("PVT")),
      genericAirline(reference.internAirline("ZZZ")) {
    // An operator's liveries count as that operator's when similar types are sought.
    std::map<common::CodeIndex, ModelList> presentPerAirline;
    ModelList privateModels;
    ModelList genericModelList;
    for (const LiveryData& livery : liveries) {
        const std::string_view title = *titles_.insert(livery.title).first;
        const int category = reference.category(livery.model);
        ++(livery.cargo ? categoryLiveries[category].cargo : categoryLiveries[category].pax);
        if (livery.airline == privateAirline) {
            const std::string_view registration =
                privateRegistrations_.emplace_back(livery.registration);
            (livery.cargo ? privateCargo : privatePax)[livery.model].push_back(
                {registration, title});
            addOnce(privateModels, livery.model);
            continue;
        }
        common::CodeIndex key = livery.airline;
        if (livery.operatorIndex != 0) {
            key = reference.internAirline(fmt::format("{}{}", reference.airlineText(livery.airline),
                                                      reference.airlineText(livery.operatorIndex)));
        }
        (livery.cargo ? cargo : pax)[key][livery.model].push_back(title);
        addOnce(
            presentPerAirline[livery.operatorIndex != 0 ? livery.operatorIndex : livery.airline],
            livery.model);
        if (livery.airline == genericAirline) addOnce(genericModelList, livery.model);
    }
    genericModels = genericModelList.size();

    for (const auto& [airline, present] : presentPerAirline) {
        SimilarTypes similar = similarFrom(present, reference);
        if (similar.empty()) continue;
        similarDefinitions += similar.size();
        similarTypes.emplace(airline, std::move(similar));
    }
    privateSimilarTypes = similarFrom(privateModels, reference);
    for (const common::CodeIndex model : privateModels) {
        const int category = reference.category(model);
        if (category == categoryLight || category == categoryBusinessJet ||
            category == categoryRotorcraft) {
            categoryModels[category].push_back(model);
        }
    }
}

std::string_view MatchingIndexes::title(std::string_view text) const {
    const auto found = titles_.find(text);
    return found != titles_.end() ? std::string_view(*found) : std::string_view();
}

}  // namespace corv::liveries
