#include "realtraffic/TrafficQueue.hpp"

#include <utility>

namespace corv::realtraffic {

TrafficQueue::TrafficQueue(std::function<std::int32_t()> liveTickCount)
    : liveTickCount_(std::move(liveTickCount)) {}

bool TrafficQueue::offer(TrafficReport report) {
    std::lock_guard lock(mutex_);
    if (!acceptingTraffic_) return false;
    report.dueTick = liveTickCount_() + dueDelayTicks;
    reports_.push_back(std::move(report));
    return true;
}

std::size_t TrafficQueue::take(std::span<TrafficReport> out) {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    while (count < out.size() && !reports_.empty()) {
        out[count++] = std::move(reports_.front());
        reports_.pop_front();
    }
    return count;
}

void TrafficQueue::setAcceptingTraffic(bool accepting) {
    std::lock_guard lock(mutex_);
    acceptingTraffic_ = accepting;
}

bool TrafficQueue::acceptingTraffic() const {
    std::lock_guard lock(mutex_);
    return acceptingTraffic_;
}

std::size_t TrafficQueue::size() const {
    std::lock_guard lock(mutex_);
    return reports_.size();
}

void TrafficQueue::clear() {
    std::lock_guard lock(mutex_);
    reports_.clear();
}

}  // namespace corv::realtraffic
