#include "services/RunState.hpp"

namespace corv::services {

bool RunState::requestStop(ExitReason reason, int restartDelaySeconds) {
    // Threads that see stopRequested read the reason next: it is stored before the flag is
    // released, and the claim keeps a second request from overwriting it meanwhile.
    if (stopRequested.load() || stopClaimed_.exchange(true)) return false;
    exitReason_.store(reason, std::memory_order_relaxed);
    restartDelaySeconds_.store(restartDelaySeconds, std::memory_order_relaxed);
    stopRequested.store(true, std::memory_order_release);
    return true;
}

void RunState::setReasonIfUnset(ExitReason reason) {
    ExitReason unset = ExitReason::NotYetSet;
    exitReason_.compare_exchange_strong(unset, reason);
}

void RunState::resetForNewRun() {
    exitReason_ = ExitReason::NotYetSet;
    restartDelaySeconds_ = 0;
    stopClaimed_ = false;
    stopRequested = false;
    windowClosed = false;
    secondTick = false;
    flightPaused = false;
    secondCount = 0;
    awaitingRealTraffic = true;
}

}  // namespace corv::services
