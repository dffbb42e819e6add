#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "airports/AircraftIdentities.hpp"
#include "airports/Stand.hpp"
#include "airports/StaticAircraft.hpp"
#include "airports/TimeKey.hpp"

namespace corv::airports {

// The largest fits the last searches needed; the renewal judges kept aircraft by them.
struct SearchFits {
    std::int32_t real = 0;
    std::int32_t soft = -1;
};

// What a search must not collide with, and how it decides between equal entries.
struct StaticSearchInputs {
    const std::unordered_set<std::string>& liveCallsigns;  // heard in the feed
    std::span<const PlacedStatic> statics;
    std::span<const std::string> liveParkedNames;  // live aircraft parked at stands
    const AircraftIdentities& identities;
    // Uniformly one of 0 ... count - 1.
    std::function<std::size_t(std::size_t count)> randomBelow;
};

enum class EntryKind { Real, Soft };

// Finds candidates on the free stands of the loaded airport: first what stands there now, then,
// as the settings allow, what stood there on other weekdays, derived entries, and what stood
// there a little earlier. Found stands are taken and their neighbours blocked.
class StaticSearch {
  public:
    StaticSearch(std::vector<Stand>& stands, const StaticSearchInputs& inputs);

    // Adds candidates until already + candidates reaches wanted, or nothing more is found.
    void searchStages(TimeKey key, std::int32_t wanted, std::int32_t already,
                      std::vector<StaticAircraft>& candidates, SearchFits& fits);

    // One pass over the stands for one fit; found candidates go to `found`, and `candidates`
    // holds those of earlier passes.
    void searchStands(TimeKey key, EntryKind kind, bool dayOnly, std::int32_t fit,
                      std::vector<StaticAircraft>& found,
                      const std::vector<StaticAircraft>& candidates);

  private:
    struct Stage {
        EntryKind kind;
        bool dayOnly;
        const char* label;
    };
    void runStage(const Stage& stage, TimeKey key, std::int32_t wanted, std::int32_t already,
                  std::vector<StaticAircraft>& candidates, SearchFits& fits);
    void searchStand(Stand& stand, TimeKey slot, EntryKind kind, bool dayOnly, std::int32_t fit,
                     TimeKey key, std::vector<StaticAircraft>& found,
                     const std::vector<StaticAircraft>& candidates);
    bool eligible(const Stand& stand, const OccupancyEntry& entry, TimeKey slot, EntryKind kind,
                  bool dayOnly) const;
    bool crowdedByStatic(const Stand& stand, const OccupancyEntry& entry) const;
    OccupancyEntry* entryOfStaticHere(Stand& stand) const;
    bool usable(const OccupancyEntry& entry, const Stand& stand,
                const std::vector<StaticAircraft>& found,
                const std::vector<StaticAircraft>& candidates) const;
    std::int32_t takenCount() const;
    void takeStand(Stand& stand);

    std::vector<Stand>& stands_;
    const StaticSearchInputs& inputs_;
};

}  // namespace corv::airports
