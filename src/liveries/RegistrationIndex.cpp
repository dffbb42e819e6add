#include "liveries/RegistrationIndex.hpp"

#include <fmt/format.h>

namespace corv::liveries {

std::vector<std::string> RegistrationIndex::addInline(
    const std::vector<TitledRegistration>& liveries) {
    std::vector<std::string> clashes;
    for (const TitledRegistration& livery : liveries) {
        if (livery.registration.empty()) continue;
        const auto [entry, added] = titleByRegistration_.try_emplace(
            std::string(livery.registration), std::string(livery.title));
        if (!added && entry->second != livery.title) {
            clashes.push_back(fmt::format("{} '{}' => already in use by '{}'", livery.registration,
                                          livery.title, entry->second));
        }
    }
    return clashes;
}

RegistrationIndex::Applied RegistrationIndex::apply(
    const RegcodeList& list, const std::unordered_set<std::string>& installedTitles) {
    Applied applied;
    for (const RegcodeRecord& record : list.records) {
        if (!installedTitles.contains(record.title)) continue;
        for (const std::string& registration : record.registrations) {
            const auto [entry, added] =
                titleByRegistration_.try_emplace(registration, record.title);
            if (added) {
                ++applied.added;
            } else if (entry->second != record.title) {
                applied.reportLines.push_back(
                    fmt::format("   regcode {} for '{}', instead of the "
                                "same for '{}'",
                                registration, record.title, entry->second));
                entry->second = record.title;
                ++applied.replaced;
            }
        }
        if (!record.special) continue;
        specialTitles_.insert(record.title);
        for (const std::string& registration : record.registrations) {
            specialRegistrations_.insert(registration);
            ++applied.special;
        }
        if (record.registrations.size() == 1) uniqueRegistrations_.insert(record.registrations[0]);
    }
    return applied;
}

std::string RegistrationIndex::titleOf(std::string_view registration) const {
    const auto found = titleByRegistration_.find(registration);
    return found != titleByRegistration_.end() ? found->second : std::string();
}

}  // namespace corv::liveries
