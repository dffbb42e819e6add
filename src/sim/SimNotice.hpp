#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "sim/SimMessages.hpp"

namespace corv::sim {

// The number that names one of the program's aircraft towards the simulator client: 1 to 10000
// a static aircraft, above 10000 a live one, 0 none.
using AircraftKey = std::int32_t;
inline constexpr AircraftKey lastStaticKey = 10000;
inline bool isLiveKey(AircraftKey key) {
    return key > lastStaticKey;
}

enum class SimNoticeKind : std::uint32_t {
    LiveSpawned = 0,
    StaticSpawned = 1,
    Removed = 2,
    NearbyAircraft = 3,
    StaticCg = 4,
    CreateFailed = 6,
};

// What the simulator client tells the traffic logic about one aircraft object.
struct SimNotice {
    ObjectId objectId = 0;
    std::int32_t key = 0;  // the aircraft key, or the on-ground value for NearbyAircraft
    std::uint32_t zero = 0;
    SimNoticeKind kind = SimNoticeKind::Removed;
    double first = 0.0;
    double second = 0.0;

    friend bool operator==(const SimNotice&, const SimNotice&) = default;
};

// The notices on their way from the simulator client thread to the run cycle.
class SimNotices {
  public:
    void post(const SimNotice& notice) {
        std::lock_guard lock(noticeLock_);
        notices_.push_back(notice);
    }
    // Everything posted so far, oldest first; the queue is empty afterwards.
    std::vector<SimNotice> takeAll() {
        std::vector<SimNotice> taken;
        std::lock_guard lock(noticeLock_);
        taken.swap(notices_);
        return taken;
    }
    void clear() {
        std::lock_guard lock(noticeLock_);
        notices_.clear();
    }

  private:
    std::mutex noticeLock_;  // never held together with simLock
    std::vector<SimNotice> notices_;
};

}  // namespace corv::sim
