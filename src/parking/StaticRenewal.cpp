#include <algorithm>

#include "airports/StaticCalculation.hpp"
#include "airports/StaysNext.hpp"
#include "airports/WantedCount.hpp"
#include "airports/WeekSlot.hpp"
#include "common/GreatCircle.hpp"
#include "parking/StaticParking.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::parking {

namespace {

bool isLive(const std::unordered_set<std::string>& live, const std::string& callsign) {
    return !callsign.empty() && live.contains(callsign);
}

// The entry a candidate comes from shows the static aircraft standing there now.
bool showsSameAircraft(const airports::StaticAircraft& candidate, const StaticRecord& record) {
    if (!airports::sameAircraft(candidate.identity, record.identity)) return false;
    return (!candidate.callsign.empty() && candidate.callsign + "*" == record.name) ||
           (!candidate.callsign2.empty() && candidate.callsign2 + "*" == record.name);
}

}  // namespace

std::vector<LiveAtStand> StaticParking::collectLiveParked(std::int32_t wanted) {
    const auto collect = [&] {
        std::vector<LiveAtStand> listed;
        for (LiveAtStand& live : liveAtStands()) {
            if (!live.parked) continue;
            if (live.standFlag) live.minutesParked = 0;
            const int limit = live.heavy ? 180 : 90;
            if (settings::INITIAL_LOAD_ONLY.value() || live.minutesParked <= limit) {
                listed.push_back(std::move(live));
            } else if (live_ != nullptr) {
                live_->removeLive(live.name);
            }
        }
        // Shortest stay first: the end of the list is the first to go.
        std::ranges::stable_sort(listed, {}, &LiveAtStand::minutesParked);
        return listed;
    };
    std::vector<LiveAtStand> listed = collect();
    if (wanted > 0 && std::cmp_greater(listed.size(), wanted)) {
        const std::size_t excess = listed.size() - static_cast<std::size_t>(wanted);
        services_.messages.showMessage(
            fmt::format("Parking adjustments: {} more live ac than wanted", excess), true);
        // The ones parked longest leave first: their stay is most likely over.
        for (std::size_t i = 0; i < excess; ++i) {
            const LiveAtStand& longest = listed[listed.size() - 1 - i];
            services::log("live parked {} at {} removed", longest.name, longest.standId);
            live_->removeLive(longest.name);
        }
        listed = collect();
    }
    return listed;
}

bool StaticParking::stillFits(const StaticRecord& record, airports::TimeKey key) const {
    const airports::Stand* stand = standOf(record.stand);
    if (stand == nullptr) return false;
    const int lookBack = std::min(std::max(fits_.real, fits_.soft), 47);
    const airports::HalfHourSet window =
        airports::HalfHourSet::range(std::max(key.halfHour - lookBack, 0), key.halfHour);
    return std::ranges::any_of(stand->entries, [&](const airports::OccupancyEntry& entry) {
        return entry.index > 0 && entry.day == key.weekday &&
               entry.registration == record.registration &&
               airports::sameAircraft(entry.identity, record.identity) &&
               entry.hours.overlaps(window);
    });
}

void StaticParking::reconcile(airports::TimeKey key, std::vector<StaticRecord*>& kept,
                              std::vector<StaticRecord*>& removals) {
    const auto dropCandidate = [&](const airports::StaticAircraft* candidate) {
        candidates_.erase(candidates_.begin() + (candidate - candidates_.data()));
    };
    const auto candidateOn = [&](std::int32_t stand) -> const airports::StaticAircraft* {
        const auto found = std::ranges::find(candidates_, stand, &airports::StaticAircraft::stand);
        return found == candidates_.end() ? nullptr : &*found;
    };
    // The aircraft shown for the earlier half hour of the week gives way.
    const auto resolve = [&](StaticRecord& record, const airports::StaticAircraft* candidate) {
        const airports::WeekSlot newcomer =
            airports::weekSlot(airports::fitSlot(key, candidate->fit));
        if (airports::weekSlot(record.placedFor) < newcomer) {
            removals.push_back(&record);
        } else {
            kept.push_back(&record);
            dropCandidate(candidate);
        }
    };
    for (StaticRecord& record : table_) {
        if (record.state != StaticState::Active) continue;
        if (isLive(liveCallsigns_, record.callsign) || isLive(liveCallsigns_, record.callsign2)) {
            removals.push_back(&record);
            continue;
        }
        if (const airports::StaticAircraft* here = candidateOn(record.stand)) {
            if (showsSameAircraft(*here, record)) {
                kept.push_back(&record);
                dropCandidate(here);
            } else {
                resolve(record, here);
            }
            continue;
        }
        const airports::Stand* stand = standOf(record.stand);
        const airports::StaticAircraft* conflict = nullptr;
        for (const std::int32_t neighbour :
             stand != nullptr ? stand->neighbours : std::vector<std::int32_t>{}) {
            const airports::StaticAircraft* other = candidateOn(neighbour);
            const airports::Stand* there = standOf(neighbour);
            if (other == nullptr || there == nullptr) continue;
            const double room = services_.identities.halfWingspan(other->identity) +
                                services_.identities.halfWingspan(record.identity);
            if (room > common::distanceNm({record.latitude, record.longitude},
                                          {there->latitude, there->longitude})) {
                conflict = other;
                break;
            }
        }
        if (conflict != nullptr) {
            resolve(record, conflict);
        } else if (stillFits(record, key)) {
            kept.push_back(&record);
        } else {
            removals.push_back(&record);
        }
    }
}

void StaticParking::renew(airports::TimeKey key, std::unordered_set<std::string> liveCallsigns,
                          std::string_view reservedStand, std::string_view userStand) {
    airports::logParkingDay(key);
    key_ = key;
    busy_ = true;
    liveCallsigns_ = std::move(liveCallsigns);
    candidates_.clear();
    std::vector<airports::Stand>& stands = services_.airport.stands;
    airports::resetStandMarks(stands, reservedStand, userStand);
    for (airports::Stand& stand : stands) {
        std::int32_t index = 0;
        for (airports::OccupancyEntry& entry : stand.entries)
            entry.index = ++index;
    }
    wanted_ = airports::wantedStaticCount(stands.size(), airports::parkingShare(),
                                          settings::MAX_PARK_SEL.value());
    std::vector<LiveAtStand> liveParked = collectLiveParked(wanted_);
    std::vector<std::string> liveNames;
    for (const LiveAtStand& live : liveParked) {
        liveNames.push_back(live.name);
        if (const std::int32_t number = standNumberOf(live.standId); number != 0) {
            airports::Stand& stand = stands[static_cast<std::size_t>(number - 1)];
            stand.taken = true;
            for (const std::int32_t neighbour : stand.neighbours) {
                if (neighbour >= 1 && std::cmp_less_equal(neighbour, stands.size()))
                    stands[static_cast<std::size_t>(neighbour - 1)].blocked = true;
            }
        }
    }
    const auto already = static_cast<std::int32_t>(liveParked.size());
    if (wanted_ != already) {
        const std::vector<airports::PlacedStatic> placed = placedStatics();
        const airports::StaticSearchInputs inputs = searchInputs(placed, liveNames);
        airports::StaticSearch(stands, inputs)
            .searchStages(key, wanted_, already, candidates_, fits_);
    }

    std::vector<StaticRecord*> kept;
    std::vector<StaticRecord*> removals;
    reconcile(key, kept, removals);

    // An aircraft about to leave shows the callsign it departs with from now on.
    std::erase_if(kept, [&](StaticRecord* record) {
        if (record->callsign2.empty() || record->name.find(record->callsign) == std::string::npos)
            return false;
        const airports::Stand* stand = standOf(record->stand);
        if (stand == nullptr) return false;
        const std::string arrival = record->name.substr(0, record->name.size() - 1);
        const auto entry = std::ranges::find_if(stand->entries, [&](const auto& e) {
            return e.index > 0 && e.day == key.weekday && e.callsign == arrival &&
                   airports::sameAircraft(e.identity, record->identity);
        });
        if (entry == stand->entries.end() || airports::staysNext(*entry, *stand, key)) return false;
        candidates_.push_back({record->stand, record->placedFor.halfHour, record->identity,
                               record->callsign, record->callsign2, record->registration, false});
        removals.push_back(record);
        return true;
    });

    auto excess =
        static_cast<std::int64_t>(kept.size() + liveParked.size() + candidates_.size()) - wanted_;
    for (; excess > 0; --excess) {
        if (!candidates_.empty()) {
            candidates_.pop_back();
        } else if (!kept.empty()) {
            removals.push_back(kept.back());
            kept.pop_back();
        } else if (!liveParked.empty()) {
            if (live_ != nullptr) live_->removeLive(liveParked.back().name);
            liveParked.pop_back();
        }
    }
    std::ranges::stable_sort(candidates_, std::greater{}, &airports::StaticAircraft::fit);
    services_.messages.showMessage(
        fmt::format("Parking adjustments: {} to be removed, {} to be added\n", removals.size(),
                    candidates_.size()),
        true);
    for (StaticRecord* record : removals)
        requestRemoval(*record);
    dropWithdrawn();
}

}  // namespace corv::parking
