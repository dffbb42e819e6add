#pragma once

#include <atomic>
#include <cstdint>

#include "services/ExitReason.hpp"

namespace corv::services {

// The process-wide flags of the current run, shared by every thread.
class RunState {
  public:
    // Ends the run: the first request of a run sets the reason and the restart delay, later
    // ones change nothing. True when this request was the first.
    bool requestStop(ExitReason reason, int restartDelaySeconds);

    // Sets the reason only when none is set yet (the run's early ends).
    void setReasonIfUnset(ExitReason reason);
    // Replaces the reason without touching stopRequested (a user error ends the run).
    void forceReason(ExitReason reason) { exitReason_ = reason; }

    ExitReason exitReason() const { return exitReason_; }
    int restartDelaySeconds() const { return restartDelaySeconds_; }

    // Every per-run value back to its start value; isRestart, productionMode and
    // processExitCode survive.
    void resetForNewRun();

    bool stopOrClosed() const { return stopRequested || windowClosed; }

    std::atomic<bool> stopRequested{false};
    std::atomic<bool> windowClosed{false};
    std::atomic<bool> secondTick{false};
    std::atomic<bool> awaitingRealTraffic{true};
    std::atomic<bool> isRestart{false};
    // The user asked to close the program; a pending restart then quits instead.
    std::atomic<bool> userClosedWindow{false};
    std::atomic<bool> productionMode{false};
    std::atomic<std::int32_t> processExitCode{0};
    // Seconds processed in this run; owned by the start-up thread, read by the window thread.
    std::atomic<std::int32_t> secondCount{0};
    bool flightPaused = false;  // start-up thread only
    // The 10 ms ticks of the live traffic; reports fall due by it.
    std::atomic<std::int32_t> liveTickCount{0};
    std::int32_t workerCount = 2;

  private:
    std::atomic<ExitReason> exitReason_{ExitReason::NotYetSet};
    std::atomic<std::int32_t> restartDelaySeconds_{0};
    // Taken by the first requestStop of a run, before it publishes stopRequested.
    std::atomic<bool> stopClaimed_{false};
};

}  // namespace corv::services
