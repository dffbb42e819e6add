#include "liveries/MatchingIndexesLog.hpp"

#include <set>
#include <string_view>

#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::liveries {

namespace {

std::string_view plural(std::size_t count) {
    return count == 1 ? "" : "s";
}

std::size_t modelCount(const LiveryIndex& index) {
    std::set<common::CodeIndex> models;
    for (const auto& [airline, perModel] : index) {
        for (const auto& entry : perModel)
            models.insert(entry.first);
    }
    return models.size();
}

void logCategories(const MatchingIndexes& indexes, const SwitchOff& switchOff) {
    struct Switchable {
        int category;
        settings::CheckBox& parameter;
        std::string_view what;
    };
    const Switchable switchable[] = {
        {categoryRotorcraft, settings::HELICOPTERS, "Helicopters"},
        {categoryHighPerformance, settings::HIGH_PERF_AIRCRAFT, "High Perf aircraft"},
        {categoryLight, settings::LIGHT_AIRCRAFT, "light aircraft"},
    };
    for (int category = 0; category < categoryCount; ++category) {
        const CategoryLiveries& count = indexes.categoryLiveries.at(category);
        if (count.pax + count.cargo == 0) {
            services::log("Category {}: No livery found", category);
            continue;
        }
        const std::string cargo = count.cargo == 0 ? std::string()
                                                   : fmt::format(" and {} cargo liverie{}",
                                                                 count.cargo, plural(count.cargo));
        services::log("Category {}: {} pax liverie{}{}", category, count.pax, plural(count.pax),
                      cargo);
    }
    for (const Switchable& entry : switchable) {
        const CategoryLiveries& count = indexes.categoryLiveries.at(entry.category);
        if (count.pax + count.cargo != 0 || !entry.parameter.value()) continue;
        switchOff(entry.parameter);
        services::log("{} temporarily switched off because you do not have {} installed",
                      entry.parameter.name(), entry.what);
    }
}

}  // namespace

void logMatchingIndexes(const MatchingIndexes& indexes, const SwitchOff& switchOff) {
    services::log("{:5} registration codes", indexes.registrations.size());
    std::set<common::CodeIndex> airlines;
    for (const auto& entry : indexes.pax)
        airlines.insert(entry.first);
    for (const auto& entry : indexes.cargo)
        airlines.insert(entry.first);
    services::log("{:5} airlines, {} pax aircraft models and {} cargo aircraft models",
                  airlines.size(), modelCount(indexes.pax), modelCount(indexes.cargo));
    services::log("{:5} similar model definitions", indexes.similarDefinitions);
    logCategories(indexes, switchOff);
    if (indexes.genericModels == 0) {
        services::log("No generic liveries");
    } else {
        services::log("{} model{} have a generic livery", indexes.genericModels,
                      plural(indexes.genericModels));
    }
}

}  // namespace corv::liveries
