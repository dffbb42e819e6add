#include "services/RunState.hpp"

namespace corv::services {

bool RunState::requestStop(ExitReason reason, int restartDelaySeconds) {
    if (stopRequested.exchange(true)) return false;
    exitReason_ = reason;
    restartDelaySeconds_ = restartDelaySeconds;
    return true;
}

void RunState::setReasonIfUnset(ExitReason reason) {
    ExitReason unset = ExitReason::NotYetSet;
    exitReason_.compare_exchange_strong(unset, reason);
}

void RunState::resetForNewRun() {
    exitReason_ = ExitReason::NotYetSet;
    restartDelaySeconds_ = 0;
    stopRequested = false;
    windowClosed = false;
    secondTick = false;
    flightPaused = false;
    secondCount = 0;
    awaitingRealTraffic = true;
}

}  // namespace corv::services
