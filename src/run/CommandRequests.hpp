#pragma once

#include <atomic>

namespace corv::run {

// Requests from the window's commands; the run cycle consumes each with an atomic exchange.
struct CommandRequests {
    std::atomic<bool> flushStaticRequested{false};
    std::atomic<bool> reReadRequested{false};
    std::atomic<bool> callsignListRequested{false};
    std::atomic<bool> blockChanged{false};
    std::atomic<bool> rematchRequested{false};
    std::atomic<bool> staticRenewalRequested{false};
    std::atomic<bool> staticComputationRunning{false};
    // Minutes to the next static-parking renewal; "Now" restarts the count.
    std::atomic<int> renewalMinutesLeft{20};

    void reset() {
        for (std::atomic<bool>* flag :
             {&flushStaticRequested, &reReadRequested, &callsignListRequested, &blockChanged,
              &rematchRequested, &staticRenewalRequested, &staticComputationRunning}) {
            *flag = false;
        }
        renewalMinutesLeft = 20;
    }
};

}  // namespace corv::run
