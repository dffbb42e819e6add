#include "live/StandLearning.hpp"

#include <fmt/format.h>

#include "airports/WeekSlot.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"

namespace corv::live {

namespace {

using airports::HalfHourSet;
using airports::OccupancyEntry;

// Half hours without a report that still count as one stay; freighters and heavies stand
// longer between reports.
int stayGap(const ObservedStay& stay) {
    if (stay.identity.cargo) return 12;
    return stay.aircraftClass == liveries::categoryHeavy ? 8 : 6;
}

bool stayEnded(StandUse use) {
    return use == StandUse::Left || use == StandUse::Disappeared;
}

bool observedOn(const OccupancyEntry& entry, const std::string& registration, int day) {
    return entry.index > 0 && entry.day == day && entry.registration == registration && entry.real;
}

OccupancyEntry* learnedEntry(airports::Stand& stand, const std::string& registration, int day) {
    for (OccupancyEntry& entry : stand.entries) {
        if (observedOn(entry, registration, day) && entry.origin == airports::learned)
            return &entry;
    }
    return nullptr;
}

int previousDay(int day) {
    return day == 1 ? 7 : day - 1;
}

int addEntry(airports::Stand& stand, const ObservedStay& stay, int day, HalfHourSet hours) {
    for (const OccupancyEntry& entry : stand.entries) {
        if (entry.registration == stay.registration && entry.day == day && entry.hours == hours)
            return 0;
    }
    OccupancyEntry& added = stand.entries.emplace_back();
    added.identity = stay.identity;
    added.registration = stay.registration;
    added.callsign = stay.callsign;
    added.hours = hours;
    added.index = static_cast<std::int32_t>(stand.entries.size());
    added.day = day;
    added.origin = airports::learned;
    added.real = true;
    added.cpl = stayEnded(stay.use);
    return 1;
}

void addHours(OccupancyEntry& entry, int first, int last) {
    for (int k = first; k <= last; ++k)
        entry.hours.insert(k);
}

}  // namespace

int recordStay(airports::Stand& stand, const ObservedStay& stay, airports::TimeKey now) {
    const int day = now.weekday;
    const int half = now.halfHour;
    if (!HalfHourSet::isHalfHour(half) || day < 1 || day > 7) {
        services::log("{}: hh_now: {}, {}", "lf_addRealStandOption", half,
                      fmt::format("no half hour of the week (day {})", day));
        return 0;
    }
    // The airport file knows this aircraft here at other times only: it is not learned over.
    for (const OccupancyEntry& entry : stand.entries) {
        if (observedOn(entry, stay.registration, day) &&
            entry.origin == airports::fromAirportFile && !entry.hours.contains(half))
            return 0;
    }
    OccupancyEntry* entry = learnedEntry(stand, stay.registration, day);
    if (entry == nullptr) {
        // A stay that began yesterday may go on past midnight.
        entry = learnedEntry(stand, stay.registration, previousDay(day));
        if (entry != nullptr && entry->cpl) entry = nullptr;
    }
    if (entry == nullptr || (entry->cpl && !entry->hours.contains(half)))
        return addEntry(stand, stay, day, HalfHourSet::range(half, half));
    if (entry->day == day && entry->hours.contains(half)) {
        if (!stayEnded(stay.use) || entry->cpl) return 0;
        entry->cpl = true;
        return 1;
    }
    const int last = entry->hours.highest();
    const airports::WeekSlot lastSeen = airports::weekSlot({entry->day, last});
    const std::int32_t gap = airports::slotsBetween(lastSeen, airports::weekSlot(now));
    if (gap <= 0 || gap >= stayGap(stay))
        return addEntry(stand, stay, day, HalfHourSet::range(half, half));
    if (entry->day == day) {
        addHours(*entry, last + 1, half);
        entry->cpl = entry->cpl || stayEnded(stay.use);
        return 1;
    }
    // Across midnight: yesterday's entry runs to its end, today's starts at 00:00.
    addHours(*entry, last + 1, airports::halfHoursPerDay - 1);
    entry->cpl = true;
    return 1 + addEntry(stand, stay, day, HalfHourSet::range(0, half));
}

}  // namespace corv::live
