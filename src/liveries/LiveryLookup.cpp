#include "liveries/LiveryLookup.hpp"

#include <fmt/format.h>

#include "liveries/AirlineNames.hpp"
#include "liveries/ReferenceData.hpp"

namespace corv::liveries {

std::string_view registrationPrefix(std::string_view registration) {
    const std::size_t dash = registration.find('-');
    if (dash != std::string_view::npos) return registration.substr(0, dash + 1);
    return registration.substr(0, 1);
}

std::string_view LiveryLookup::airlineModel(const common::AircraftIdentity& key,
                                            std::string_view registration) const {
    const std::string_view found = airlineModelIn(key.cargo, key, registration);
    if (!found.empty() || !key.cargo) return found;
    return airlineModelIn(false, key, registration);
}

std::string_view LiveryLookup::airlineModelIn(bool cargo, const common::AircraftIdentity& key,
                                              std::string_view registration) const {
    const LiveryIndex& index = cargo ? indexes_.cargo : indexes_.pax;
    if (key.operatorIndex != 0) {
        const auto composite =
            reference_.findAirline(fmt::format("{}{}", reference_.airlineText(key.airline),
                                               reference_.airlineText(key.operatorIndex)));
        if (composite) {
            const std::string_view title = choice_.choose(candidates(index, *composite, key.model));
            if (!title.empty()) return title;
        }
        // Liveries of regional operators flying for a larger airline are often filed under
        // one of the two with the other's name in the title.
        if (auto title = naming(index, key.operatorIndex, key.model, key.airline); !title.empty())
            return title;
        if (auto title = naming(index, key.airline, key.model, key.operatorIndex); !title.empty())
            return title;
        const std::string_view title =
            choice_.choose(candidates(index, key.operatorIndex, key.model));
        if (!title.empty()) return title;
    }
    if (key.airline == indexes_.privateAirline) {
        return privateLiveryIn(cargo ? indexes_.privateCargo : indexes_.privatePax, key.model,
                               registration);
    }
    return choice_.choose(candidates(index, key.airline, key.model));
}

std::string_view LiveryLookup::naming(const LiveryIndex& index, common::CodeIndex airline,
                                      common::CodeIndex model, common::CodeIndex named) const {
    const auto name = airlineName(reference_.airlineText(named));
    if (!name) return {};
    for (const std::string_view title : candidates(index, airline, model)) {
        if (title.find(*name) != std::string_view::npos) return title;
    }
    return {};
}

TitleList LiveryLookup::candidates(const LiveryIndex& index, common::CodeIndex airline,
                                   common::CodeIndex model) const {
    const auto perAirline = index.find(airline);
    if (perAirline == index.end()) return {};
    const auto perModel = perAirline->second.find(model);
    if (perModel == perAirline->second.end()) return {};
    TitleList usable;
    for (const std::string_view title : perModel->second) {
        if (!failed_.contains(title)) usable.push_back(title);
    }
    return usable;
}

std::string_view LiveryLookup::privateLivery(common::CodeIndex model, std::string_view registration,
                                             bool cargo) const {
    const std::string_view found =
        privateLiveryIn(cargo ? indexes_.privateCargo : indexes_.privatePax, model, registration);
    if (!found.empty() || !cargo) return found;
    return privateLiveryIn(indexes_.privatePax, model, registration);
}

std::string_view LiveryLookup::privateLiveryIn(const PrivateIndex& index, common::CodeIndex model,
                                               std::string_view registration) const {
    const auto perModel = index.find(model);
    if (perModel == index.end()) return {};
    const auto registeredIn = [&](std::string_view prefix) {
        TitleList titles;
        for (const PrivateLivery& livery : perModel->second) {
            if (livery.registration.starts_with(prefix) && !failed_.contains(livery.title))
                titles.push_back(livery.title);
        }
        return titles;
    };
    const std::string_view prefix = registrationPrefix(registration);
    if (auto title = choice_.choose(registeredIn(prefix)); !title.empty()) return title;
    // Countries with several marks: any of them will do.
    if (const ReferenceData::Group* group = reference_.prefixGroupOf(prefix)) {
        for (const std::string& member : *group) {
            const TitleList titles = registeredIn(member);
            if (!titles.empty()) return choice_.choose(titles);
        }
    }
    return choice_.choose(registeredIn(""));
}

}  // namespace corv::liveries
