#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>

#include "realtraffic/TrafficReport.hpp"

namespace corv::realtraffic {

// Reports from the Traffic Reader to the run cycle. One mutex guards both the queue and the
// accepting flag, so no report slips in after the run has stopped accepting.
class TrafficQueue {
  public:
    // Reports are due this many 10 ms ticks after they arrive: the traffic runs 30 s behind.
    static constexpr std::int32_t dueDelayTicks = 3000;

    // liveTickCount reads the live traffic's tick counter.
    explicit TrafficQueue(std::function<std::int32_t()> liveTickCount);

    // Appends the report due 3000 ticks from now; false (and nothing kept) while not accepting.
    bool offer(TrafficReport report);
    // Moves up to out.size() reports from the front into out; returns how many.
    std::size_t take(std::span<TrafficReport> out);

    void setAcceptingTraffic(bool accepting);
    bool acceptingTraffic() const;
    std::size_t size() const;
    void clear();

  private:
    std::function<std::int32_t()> liveTickCount_;
    mutable std::mutex mutex_;
    std::deque<TrafficReport> reports_;
    bool acceptingTraffic_ = false;
};

}  // namespace corv::realtraffic
