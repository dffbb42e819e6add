#include "airports/StaticSearch.hpp"

#include <algorithm>
#include <exception>
#include <iterator>
#include <string_view>

#include "airports/StaysNext.hpp"
#include "common/GreatCircle.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::airports {

namespace {

constexpr std::size_t stageReserve = 512;

bool sameName(std::string_view a, std::string_view b) {
    return !a.empty() && a == b;
}

// A feed callsign may carry trailing "_" where the entry has none, and the other way round.
std::string_view withoutUnderscores(std::string_view callsign) {
    while (!callsign.empty() && callsign.back() == '_')
        callsign.remove_suffix(1);
    return callsign;
}

bool isLive(const std::unordered_set<std::string>& live, const std::string& callsign) {
    if (callsign.empty()) return false;
    const std::string bare(withoutUnderscores(callsign));
    return live.contains(callsign) || live.contains(bare) || live.contains(bare + "_");
}

// An entry repeats an aircraft when it shows one of its callsigns or has its registration.
bool repeats(const OccupancyEntry& entry, std::string_view callsign,
             std::string_view registration) {
    return sameName(callsign, entry.callsign) || sameName(callsign, entry.callsign2) ||
           sameName(registration, entry.registration);
}

bool repeatsCandidate(const OccupancyEntry& entry, const std::vector<StaticAircraft>& list) {
    return std::ranges::any_of(list, [&](const StaticAircraft& candidate) {
        return repeats(entry, candidate.callsign, candidate.registration);
    });
}

double hoursOfHalfHour(int halfHour) {
    return halfHour / 2.0;
}

}  // namespace

StaticSearch::StaticSearch(std::vector<Stand>& stands, const StaticSearchInputs& inputs)
    : stands_(stands), inputs_(inputs) {}

void StaticSearch::searchStages(TimeKey key, std::int32_t wanted, std::int32_t already,
                                std::vector<StaticAircraft>& candidates, SearchFits& fits) {
    fits = SearchFits{};
    const bool week = settings::WEEK.value();
    const bool soft = settings::PARK_SOFT.value();
    const Stage stages[] = {{EntryKind::Real, true, "real"},
                            {EntryKind::Real, false, "week/real"},
                            {EntryKind::Soft, true, "soft"},
                            {EntryKind::Soft, false, "week/soft"}};
    const bool allowed[] = {true, week, soft, soft && week};
    for (std::size_t i = 0; i < std::size(stages); ++i) {
        if (!allowed[i]) continue;
        if (already + static_cast<std::int32_t>(candidates.size()) >= wanted) break;
        runStage(stages[i], key, wanted, already, candidates, fits);
    }
}

void StaticSearch::runStage(const Stage& stage, TimeKey key, std::int32_t wanted,
                            std::int32_t already, std::vector<StaticAircraft>& candidates,
                            SearchFits& fits) {
    std::vector<StaticAircraft> found;
    found.reserve(stageReserve);
    const std::int32_t takenBefore = takenCount();
    const std::int32_t maxFit = std::clamp(settings::MAX_FIT.value(), 0, halfHoursPerDay - 1);
    std::int32_t fit = 0;
    bool enough = false;
    for (;; ++fit) {
        searchStands(key, stage.kind, stage.dayOnly, fit, found, candidates);
        if (takenCount() >= wanted) {
            enough = true;
            break;
        }
        std::ranges::move(found, std::back_inserter(candidates));
        found.clear();
        if (fit + 1 > maxFit) break;
    }
    if (stage.kind == EntryKind::Real) {
        fits.real = fit;
        fits.soft = -1;
    } else {
        fits.soft = fit;
    }
    if (const std::int32_t taken = takenCount() - takenBefore; taken > 0) {
        services::log("{} {} position{} found, Max fit={:.1F} hours{}{}", taken, stage.label,
                      taken == 1 ? "" : "s", settings::MAX_FIT_FL.value(),
                      fmt::format(", day {}", key.weekday),
                      fmt::format(", hh:{} or {:.1F} hrs, fit: {:.1F} hour", key.halfHour,
                                  hoursOfHalfHour(key.halfHour), settings::maxFitHours(fit)));
    }
    if (!enough) return;
    // The last pass may find more than are wanted; which of those equally fitting ones stay is
    // left to chance when the user wants variety.
    const auto total = [&] {
        return already + static_cast<std::int32_t>(candidates.size() + found.size());
    };
    if (const std::int32_t surplus = total() - wanted; surplus > 0 && !found.empty()) {
        if (settings::RANDOM.value()) {
            for (std::size_t i = found.size(); i > 1; --i)
                std::swap(found[i - 1], found[inputs_.randomBelow(i)]);
        }
        found.resize(found.size() - std::min<std::size_t>(surplus, found.size()));
    }
    std::ranges::move(found, std::back_inserter(candidates));
    const std::int32_t excess = already + static_cast<std::int32_t>(candidates.size()) - wanted;
    if (excess > 0)
        candidates.resize(candidates.size() - std::min<std::size_t>(excess, candidates.size()));
}

void StaticSearch::searchStands(TimeKey key, EntryKind kind, bool dayOnly, std::int32_t fit,
                                std::vector<StaticAircraft>& found,
                                const std::vector<StaticAircraft>& candidates) {
    const TimeKey slot = fitSlot(key, fit);
    for (Stand& stand : stands_) {
        if (stand.reserved || stand.taken) continue;
        try {
            searchStand(stand, slot, kind, dayOnly, fit, key, found, candidates);
        } catch (const std::exception& e) {
            services::logMarked("{}: day: {}, offset {}: {}", "lf_searchStands",
                                fmt::format("[{},{}]", slot.weekday, slot.halfHour), fit, e.what());
        }
    }
}

void StaticSearch::searchStand(Stand& stand, TimeKey slot, EntryKind kind, bool dayOnly,
                               std::int32_t fit, TimeKey key, std::vector<StaticAircraft>& found,
                               const std::vector<StaticAircraft>& candidates) {
    std::vector<std::size_t> choices;
    for (std::size_t i = 0; i < stand.entries.size(); ++i) {
        if (eligible(stand, stand.entries[i], slot, kind, dayOnly)) choices.push_back(i);
    }
    if (choices.empty()) return;
    OccupancyEntry* chosen = &stand.entries[choices.front()];
    if (choices.size() > 1 && settings::RANDOM.value()) {
        // The aircraft already standing here stays rather than being swapped for another.
        if (OccupancyEntry* here = entryOfStaticHere(stand)) {
            chosen = here;
        } else {
            chosen = &stand.entries[choices[inputs_.randomBelow(choices.size())]];
        }
    }
    if (!usable(*chosen, stand, found, candidates)) {
        chosen->index = 0;  // out of the search until the entries are renumbered
        return;
    }
    found.push_back({stand.number, fit, chosen->identity, chosen->callsign, chosen->callsign2,
                     chosen->registration, staysNext(*chosen, stand, key)});
    takeStand(stand);
}

bool StaticSearch::eligible(const Stand& stand, const OccupancyEntry& entry, TimeKey slot,
                            EntryKind kind, bool dayOnly) const {
    if (entry.index <= 0) return false;
    if (dayOnly && entry.day != slot.weekday) return false;
    if (entry.real != (kind == EntryKind::Real)) return false;
    if (!entry.hours.contains(slot.halfHour)) return false;
    if (stand.heli && !settings::HELICOPTERS.value()) return false;
    if (stand.blocked) return false;
    return !crowdedByStatic(stand, entry);
}

bool StaticSearch::crowdedByStatic(const Stand& stand, const OccupancyEntry& entry) const {
    if (stand.neighbours.empty()) return false;
    const double entryRoom = inputs_.identities.halfWingspan(entry.identity);
    return std::ranges::any_of(inputs_.statics, [&](const PlacedStatic& placed) {
        if (!placed.active) return false;
        if (std::ranges::find(stand.neighbours, placed.stand) == stand.neighbours.end())
            return false;
        const double distance = common::distanceNm({placed.latitude, placed.longitude},
                                                   {stand.latitude, stand.longitude});
        return distance < inputs_.identities.halfWingspan(placed.identity) + entryRoom;
    });
}

OccupancyEntry* StaticSearch::entryOfStaticHere(Stand& stand) const {
    for (const PlacedStatic& placed : inputs_.statics) {
        if (placed.stand != stand.number) continue;
        for (OccupancyEntry& entry : stand.entries) {
            if (!sameAircraft(entry.identity, placed.identity)) continue;
            for (const std::string* callsign : {&entry.callsign, &entry.callsign2}) {
                if (!callsign->empty() && *callsign + "*" == placed.name) return &entry;
            }
        }
        return nullptr;
    }
    return nullptr;
}

bool StaticSearch::usable(const OccupancyEntry& entry, const Stand& stand,
                          const std::vector<StaticAircraft>& found,
                          const std::vector<StaticAircraft>& candidates) const {
    if (isLive(inputs_.liveCallsigns, entry.callsign) ||
        isLive(inputs_.liveCallsigns, entry.callsign2)) {
        return false;
    }
    // The aircraft standing on this very stand is found again: the renewal keeps it.
    if (std::ranges::any_of(inputs_.statics, [&](const PlacedStatic& placed) {
            return placed.stand != stand.number &&
                   repeats(entry, placed.callsign, placed.registration);
        })) {
        return false;
    }
    if (repeatsCandidate(entry, candidates) || repeatsCandidate(entry, found)) return false;
    return std::ranges::none_of(inputs_.liveParkedNames, [&](const std::string& name) {
        return sameName(name, entry.callsign) || sameName(name, entry.callsign2);
    });
}

std::int32_t StaticSearch::takenCount() const {
    return static_cast<std::int32_t>(std::ranges::count_if(stands_, &Stand::taken));
}

void StaticSearch::takeStand(Stand& stand) {
    stand.taken = true;
    for (const std::int32_t neighbour : stand.neighbours) {
        if (neighbour >= 1 && neighbour <= static_cast<std::int32_t>(stands_.size()))
            stands_[static_cast<std::size_t>(neighbour - 1)].blocked = true;
    }
}

}  // namespace corv::airports
