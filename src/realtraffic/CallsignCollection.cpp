#include "realtraffic/CallsignCollection.hpp"

#include <utility>

namespace corv::realtraffic {

void CallsignCollection::start() {
    std::lock_guard lock(mutex_);
    seenCallsigns_.clear();
    collecting_ = true;
}

void CallsignCollection::offer(std::string_view callsign) {
    if (!collecting_ || callsign.empty() || callsign == "null") return;
    if (callsign.find('@') != std::string_view::npos) return;
    std::lock_guard lock(mutex_);
    if (collecting_) seenCallsigns_.emplace(callsign);
}

std::unordered_set<std::string> CallsignCollection::takeOver() {
    std::lock_guard lock(mutex_);
    std::unordered_set<std::string> taken = std::move(seenCallsigns_);
    seenCallsigns_.clear();
    collecting_ = false;
    return taken;
}

void CallsignCollection::clear() {
    std::lock_guard lock(mutex_);
    seenCallsigns_.clear();
}

}  // namespace corv::realtraffic
