#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include "airports/AircraftIdentities.hpp"
#include "airports/LoadedAirport.hpp"
#include "airports/StaticSearch.hpp"
#include "parking/LiveGroundView.hpp"
#include "parking/StaticRecord.hpp"
#include "parking/StaticTraffic.hpp"

namespace corv::services {
class MessageLine;
}  // namespace corv::services
namespace corv::liveries {
class LiverySource;
class RandomSource;
class ReferenceData;
}  // namespace corv::liveries

namespace corv::parking {

struct StaticServices {
    airports::LoadedAirport& airport;
    const airports::AircraftIdentities& identities;
    const liveries::ReferenceData& reference;
    liveries::LiverySource& liveries;
    liveries::RandomSource& random;
    services::MessageLine& messages;
};

// The static aircraft of the park airport: which entries of its stands to show, turning them
// one by one into parked AI aircraft, keeping the picture up to date, and taking them away.
class StaticParking final : public StaticTraffic {
  public:
    explicit StaticParking(StaticServices services);

    void setLiveView(LiveGroundView& live) { live_ = &live; }

    // A fresh picture of the airport at the key's half hour; the user's stands stay free.
    void calculate(airports::TimeKey key, std::unordered_set<std::string> liveCallsigns,
                   std::string_view reservedStand, std::string_view userStand);
    // Brings the picture up to date: stays that ended or now fly go, departures change their
    // callsign, free stands are filled, live aircraft parked too long leave.
    void renew(airports::TimeKey key, std::unordered_set<std::string> liveCallsigns,
               std::string_view reservedStand, std::string_view userStand);
    void placeNextStatic();
    // True when a calculation was running and its last candidate is placed now.
    bool finishWhenPlaced();
    bool busy() const { return busy_; }
    void setBusy() { busy_ = true; }

    // Every static aircraft out of the simulator and no more to come.
    void removeAll();
    // A new run: the simulator's objects of the last one are gone, and so is what was queued.
    void forgetAll();
    // Removes the first active static aircraft on the stand; false when there is none.
    bool removeFrom(std::int32_t stand);

    int queuedCount() const { return static_cast<int>(creations_.size()); }
    int activeCount() const;
    std::size_t candidateCount() const { return candidates_.size(); }
    const std::vector<StaticRecord>& table() const { return table_; }
    const airports::SearchFits& fits() const { return fits_; }
    std::int32_t wanted() const { return wanted_; }

    void onCreationSlot(sim::SimQueues& queues) override;
    std::optional<sim::ObjectId> nextRemoval() override;
    bool onNotice(const sim::SimNotice& notice) override;
    void makeWayFor(const airports::Stand& stand, const LiveClaim& claim) override;
    std::vector<StaticView> staticAircraft() const override;
    void removeStatic(sim::AircraftKey key) override;

  private:
    std::vector<airports::PlacedStatic> placedStatics() const;
    std::vector<LiveAtStand> liveAtStands() const;
    airports::StaticSearchInputs searchInputs(const std::vector<airports::PlacedStatic>& placed,
                                              const std::vector<std::string>& liveParked);
    const airports::Stand* standOf(std::int32_t number) const;
    std::int32_t standNumberOf(const std::string& id) const;
    bool blockedByAircraft(const airports::StaticAircraft& candidate,
                           const airports::Stand& stand) const;
    std::string nameOf(const airports::StaticAircraft& candidate, sim::AircraftKey key) const;
    bool findLivery(StaticRecord& record, bool cargoStand, std::string& title);
    // Queued ones are withdrawn: they leave the table with dropWithdrawn.
    void requestRemoval(StaticRecord& record);
    void dropWithdrawn();
    // Renewal steps.
    std::vector<LiveAtStand> collectLiveParked(std::int32_t wanted);
    void reconcile(airports::TimeKey key, std::vector<StaticRecord*>& kept,
                   std::vector<StaticRecord*>& removals);
    bool stillFits(const StaticRecord& record, airports::TimeKey key) const;

    StaticServices services_;
    LiveGroundView* live_ = nullptr;
    std::vector<airports::StaticAircraft> candidates_;  // placed from the end
    std::vector<StaticRecord> table_;
    std::deque<sim::CreationRequest> creations_;
    std::deque<sim::ObjectId> removals_;
    std::unordered_set<std::string> liveCallsigns_;
    airports::SearchFits fits_;
    airports::TimeKey key_;  // of the last calculation or renewal
    std::atomic<bool> busy_{false};
    std::int32_t keyCounter_ = 0;
    std::int32_t wanted_ = 0;
};

}  // namespace corv::parking
