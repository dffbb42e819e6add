#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>

namespace corv::realtraffic {

// The callsigns heard since a collection started; the static parking uses them to avoid
// placing an aircraft that flies right now. Filled by the Traffic Reader, taken by the run.
class CallsignCollection {
  public:
    // Clears the set and starts collecting.
    void start();
    bool collecting() const noexcept { return collecting_; }
    // Keeps the callsign while collecting; empty, "null" and "@" ones are no callsigns.
    void offer(std::string_view callsign);
    // The set so far; the collection is cleared and stops.
    std::unordered_set<std::string> takeOver();
    void clear();

  private:
    std::atomic<bool> collecting_{false};
    mutable std::mutex mutex_;
    std::unordered_set<std::string> seenCallsigns_;
};

}  // namespace corv::realtraffic
