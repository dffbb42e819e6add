#include "liveries/LiveryMatch.hpp"

#include "liveries/AircraftCategory.hpp"
#include "liveries/LiveryChoice.hpp"
#include "liveries/LiveryLookup.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"

namespace corv::liveries {

namespace {

class Match {
  public:
    Match(MatchAircraft& aircraft, const MatchContext& context)
        : aircraft_(aircraft),
          context_(context),
          choice_(context.indexes.registrations, context.random, context.options.random),
          lookup_(context.indexes, context.reference, choice_, context.run.failedTitles) {}

    bool run() {
        if (!aircraft_.title.empty()) {
            services::log("          {} =s= {}", aircraft_.description, aircraft_.title);
            return true;
        }
        if (byRegistration() || (context_.options.depth >= 2 && bySearch())) return true;
        services::log("{:8}: {} no livery match ...", aircraft_.callsign, aircraft_.description);
        if (aircraft_.live && !aircraft_.registration.empty())
            context_.run.noMatch.insert(aircraft_.description);
        return false;
    }

  private:
    bool byRegistration() {
        if (aircraft_.registration.empty()) return false;
        const MatchingIndexes& indexes = context_.indexes;
        const std::string_view title =
            indexes.title(indexes.registrations.titleOf(aircraft_.registration));
        return accept(title,
                      indexes.registrations.isUniqueRegistration(aircraft_.registration) ? 0 : 1);
    }

    bool bySearch() {
        const common::AircraftIdentity& key = aircraft_.key;
        const MatchingIndexes& indexes = context_.indexes;
        if (key.airline == indexes.privateAirline && accept(generic(key.cargo), 4)) return true;
        if (accept(lookup_.airlineModel(key, aircraft_.registration), 2)) return true;
        if (context_.options.depth >= 3 && bySimilarType()) return true;
        if (context_.options.depth < 4) return false;
        if (accept(generic(key.cargo || aircraft_.preferCargo), 4)) return true;
        const int category = aircraft_.category;
        // Only small aircraft may fall back to a private livery of another type.
        if (category != categoryLight && category != categoryBusinessJet &&
            category != categoryRotorcraft) {
            return false;
        }
        if (accept(lookup_.privateLivery(key.model, aircraft_.registration, key.cargo), 5))
            return true;
        for (const common::CodeIndex model : privateStandIns()) {
            if (accept(lookup_.privateLivery(model, aircraft_.registration, key.cargo), 6))
                return true;
        }
        return false;
    }

    bool bySimilarType() {
        const common::AircraftIdentity& key = aircraft_.key;
        const auto& similar = context_.indexes.similarTypes;
        const auto perAirline =
            similar.find(key.operatorIndex != 0 ? key.operatorIndex : key.airline);
        if (perAirline == similar.end()) return false;
        const auto models = perAirline->second.find(key.model);
        if (models == perAirline->second.end()) return false;
        for (const common::CodeIndex model : models->second) {
            if (context_.reference.category(model) != aircraft_.category) continue;
            common::AircraftIdentity alike = key;
            alike.model = model;
            if (accept(lookup_.airlineModel(alike, aircraft_.registration), 3)) return true;
        }
        return false;
    }

    ModelList privateStandIns() const {
        const MatchingIndexes& indexes = context_.indexes;
        const auto similar = indexes.privateSimilarTypes.find(aircraft_.key.model);
        if (similar != indexes.privateSimilarTypes.end()) return similar->second;
        const ModelList& sameCategory =
            indexes.categoryModels.at(static_cast<std::size_t>(aircraft_.category));
        if (sameCategory.empty()) return {};
        return {sameCategory[choice_.pick(sameCategory.size())]};
    }

    std::string_view generic(bool cargo) const {
        common::AircraftIdentity key{};
        key.airline = context_.indexes.genericAirline;
        key.model = aircraft_.key.model;
        key.cargo = cargo;
        return lookup_.airlineModel(key, aircraft_.registration);
    }

    bool accept(std::string_view title, int step) {
        if (title.empty() || context_.run.failedTitles.contains(title)) return false;
        services::log("          {} ={}= {}", aircraft_.description, step, title);
        aircraft_.title = title;
        if (aircraft_.live) {
            ++context_.run.stepCounts.at(static_cast<std::size_t>(step));
            aircraft_.fsltl = title.find("FSLTL_") != std::string_view::npos;
        }
        return true;
    }

    MatchAircraft& aircraft_;
    const MatchContext& context_;
    LiveryChoice choice_;
    LiveryLookup lookup_;
};

}  // namespace

bool matchLivery(MatchAircraft& aircraft, const MatchContext& context) {
    return Match(aircraft, context).run();
}

}  // namespace corv::liveries
